// The request grammars and the rule for which files a request may name, without a service.

#include <gtest/gtest.h>

#include <string>

#include "profile-file-names.hpp"
#include "request-grammar.hpp"

namespace t48::xpc {
namespace {

struct ModeCase {
    const char* text;
    int mode;
};

class SwapMode : public ::testing::TestWithParam<ModeCase> {};

TEST_P(SwapMode, ReadsLikeADecimalConversion) {
    EXPECT_EQ(parseSwapMode(GetParam().text), GetParam().mode) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Texts, SwapMode,
                         ::testing::Values(ModeCase{"2", 2}, ModeCase{"NULL", 0},
                                           ModeCase{"  1", 1}, ModeCase{"+2", 2},
                                           ModeCase{"-1", -1}, ModeCase{"2abc", 2},
                                           ModeCase{"abc", 0}, ModeCase{"", 0}, ModeCase{"null", 0},
                                           ModeCase{"99999999999", 0}));

TEST(SwapGrammar, SplitsAtTheFirstOccurrenceOfEachMarker) {
    auto swap =
        parseSwapRequest("2:ARG_iSwapType/a/cur:ARG_cFooCurrentString/a/prev:ARG_cFooPrevString");
    ASSERT_TRUE(swap);
    EXPECT_EQ(swap->mode, 2);
    EXPECT_EQ(swap->currentPath, "/a/cur");
    EXPECT_EQ(swap->previousPath, "/a/prev");

    swap = parseSwapRequest("NULL:ARG_iSwapTypeNULL:ARG_cFooCurrentString/p:ARG_cFooPrevString");
    ASSERT_TRUE(swap);
    EXPECT_EQ(swap->mode, 0);
    EXPECT_FALSE(swap->currentPath);
    EXPECT_EQ(swap->previousPath, "/p");
}

TEST(SwapGrammar, AMissingOrMisplacedMarkerIsNoRequest) {
    EXPECT_FALSE(parseSwapRequest("2:ARG_iSwapType/c:ARG_cFooCurrentString/p"));
    EXPECT_FALSE(parseSwapRequest("2/c:ARG_cFooCurrentString/p:ARG_cFooPrevString"));
    EXPECT_FALSE(parseSwapRequest("2:ARG_cFooPrevString:ARG_iSwapType/c:ARG_cFooCurrentString"));
}

TEST(URLGrammar, TheContentIsEverythingAfterTheFirstMarker) {
    auto write = parseURLRequest("file:///x:AddURL:ENDa:AddURL:ENDb");
    ASSERT_TRUE(write);
    EXPECT_EQ(write->url, "file:///x");
    EXPECT_EQ(write->content, "a:AddURL:ENDb");
    EXPECT_FALSE(parseURLRequest("file:///x:AddURL:end"));
}

struct WalkCase {
    const char* name;
    std::string request;
    WalkParse parse;
    std::vector<std::string_view> arguments;
};

class WalkGrammar : public ::testing::TestWithParam<WalkCase> {};

TEST_P(WalkGrammar, SplitsTheArgumentsAtEveryMarker) {
    WalkRequest walk;
    ASSERT_EQ(parseWalkRequest(GetParam().request, &walk), GetParam().parse);
    if (GetParam().parse == WalkParse::kOK) {
        EXPECT_EQ(walk.model, "T48");
        EXPECT_EQ(walk.user, "ann");
        EXPECT_EQ(walk.arguments, GetParam().arguments);
    }
}

std::string walkRequest(const std::string& arguments) {
    return "T48:ModelName:ENDann:USErName:END" + arguments;
}
std::string manyArguments(int count) {
    std::string arguments;
    for (int i = 0; i < count; ++i) {
        arguments += "a:arg:";
    }
    return arguments;
}

INSTANTIATE_TEST_SUITE_P(
    Requests, WalkGrammar,
    ::testing::Values(
        WalkCase{"TwoWithMarkers",
                 walkRequest("snmpwalk:arg:-v:arg:"),
                 WalkParse::kOK,
                 {"snmpwalk", "-v"}},
        WalkCase{
            "SecondWithoutMarker", walkRequest("snmpwalk:arg:-v"), WalkParse::kOK, {"snmpwalk"}},
        WalkCase{"EmptyArguments", walkRequest(":arg::arg:"), WalkParse::kOK, {"", ""}},
        WalkCase{"NoArguments", walkRequest(""), WalkParse::kOK, {}},
        WalkCase{"FiveHundredTwelve", walkRequest(manyArguments(512)), WalkParse::kOK,
                 std::vector<std::string_view>(512, "a")},
        WalkCase{"FiveHundredThirteen",
                 walkRequest(manyArguments(513)),
                 WalkParse::kTooManyArguments,
                 {}},
        WalkCase{"NoUserMarker", "T48:ModelName:ENDann", WalkParse::kMissingMarker, {}},
        WalkCase{"UserMarkerBeforeModelMarker",
                 "ann:USErName:ENDT48:ModelName:END",
                 WalkParse::kMissingMarker,
                 {}}),
    [](const auto& info) { return std::string(info.param.name); });

class FileNames : public ::testing::Test {
protected:
    std::string folder = preferencesFolderPath();
    RequestingUser ann{1000, "ann"};
    RequestingUser root{0, "root"};
};

TEST_F(FileNames, TheUsersThreeFilesAreAccepted) {
    auto current = profileFileForPath(folder + "/ann-T48-profile.plist", ann);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->kind, ProfileFileKind::kCurrent);
    EXPECT_EQ(current->model, "T48");
    auto previous = profileFileForPath(folder + "/ann-T48-profile.prev.plist", ann);
    ASSERT_TRUE(previous);
    EXPECT_EQ(previous->kind, ProfileFileKind::kPrevious);
    auto temporary = profileFileForPath(folder + "/ann-T48-profile.plist.dummy", ann);
    ASSERT_TRUE(temporary);
    EXPECT_EQ(temporary->kind, ProfileFileKind::kSaveTemporary);
    EXPECT_EQ(profileLeaf("ann", "T48", ProfileFileKind::kSaveTemporary),
              "ann-T48-profile.plist.dummy");
}

TEST_F(FileNames, UserNamesWithDashesAreSplitAtTheLastDash) {
    RequestingUser dashed{1001, "ann-marie"};
    auto file = profileFileForPath(folder + "/ann-marie-T48-profile.plist", dashed);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->user, "ann-marie");
    EXPECT_FALSE(profileFileForPath(folder + "/ann-marie-T48-profile.plist", ann));
}

TEST_F(FileNames, RootMayNameAnyUsersFiles) {
    EXPECT_TRUE(profileFileForPath(folder + "/ann-T48-profile.plist", root));
    EXPECT_FALSE(profileFileForPath(folder + "/root-T48-profile.plist", ann));
}

TEST_F(FileNames, OtherNamesAndSpellingsAreRefused) {
    for (const std::string& path :
         {folder + "/ann-T48-profile.plist.bak", folder + "/ann-T48-profile.spool.plist",
          folder + "/ann-profile.plist", folder + "//ann-T48-profile.plist",
          folder + "/./ann-T48-profile.plist", folder + "/sub/ann-T48-profile.plist",
          folder + "/-T48-profile.plist", folder + "/ann--profile.plist",
          std::string("ann-T48-profile.plist"), folder + "/../ann-T48-profile.plist",
          folder + "/ann-T48-profile.plist" + std::string(1, '\0')}) {
        EXPECT_FALSE(profileFileForPath(path, ann)) << path;
    }
}

TEST_F(FileNames, URLsAreDecodedAndMustBeLocal) {
    EXPECT_TRUE(profileFileForURL("file://" + folder + "/ann-T48-profile.plist", ann));
    EXPECT_TRUE(profileFileForURL("file://localhost" + folder + "/ann-T48-profile.plist", ann));
    EXPECT_TRUE(profileFileForURL("file://" + folder + "/ann-%54%348-profile.plist", ann));
    EXPECT_FALSE(profileFileForURL("file://host" + folder + "/ann-T48-profile.plist", ann));
    EXPECT_FALSE(profileFileForURL("http://" + folder + "/ann-T48-profile.plist", ann));
    EXPECT_FALSE(profileFileForURL("file://" + folder + "/ann-T48%2Fprofile.plist", ann));
    EXPECT_FALSE(profileFileForURL(folder + "/ann-T48-profile.plist", ann));
}

}  // namespace
}  // namespace t48::xpc
