// t48-profiles, run as the real program on files under its own filesystem root.

#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "plist-text.hpp"
#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

using t48::testing::binaryDir;
using t48::testing::runProgram;

const char* const kImportJson = R"({
  "RGB": {"count": 1, "entries": [{"IndexOnDevice": 4, "InMenu": 4, "ProfileClass": 1,
          "FileName": "sRGB.icc", "ProfileName": "sRGB \u00e9", "Location": 4}]},
  "SIM": {"count": 0, "entries": []},
  "DST": {"count": 2, "entries": [
          {"IndexOnDevice": 501, "InMenu": 6, "ProfileClass": 2, "FileName": "a.icc",
           "ProfileName": "A", "Location": 5},
          {"IndexOnDevice": 0, "InMenu": 3, "ProfileClass": 3, "FileName": "b.icc",
           "ProfileName": "B", "Location": 4}]}
})";

// The tool acts as the user it is given, so the tests give it an account every machine
// has: root, whom it acts as without a change.
constexpr char kUser[] = "root";

class ToolTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(setServiceProfilePaths(kUser, "T48"), kStoreOK);
        current_ = ZT_PLIST_PROFILE_PATH;
    }
    t48::testing::RunResult tool(std::vector<std::string> args,
                                 std::vector<std::string> prefix = {}) {
        std::vector<std::string> argv = prefix;
        argv.push_back(binaryDir() + "/tools/t48-profiles/t48-profiles");
        argv.insert(argv.end(), args.begin(), args.end());
        return runProgram(argv, {"T48_ROOT=" + root_.path()});
    }
    std::string importFile(const std::string& json) {
        std::string path = root_.file("import.json");
        writeText(path, json);
        return path;
    }
};

TEST_F(ToolTest, ImportThenShowGivesTheSameLists) {
    auto imported = tool({"--user", kUser, "import", importFile(kImportJson)});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_EQ(lists.dst().iNum, 2);
    EXPECT_STREQ(lists.dst().litem[1].FileName, "b.icc");
    const std::string first = fileText(current_);

    auto shown = tool({"--user", kUser, "show"});
    ASSERT_EQ(shown.exitStatus, 0) << shown.err;
    auto again = tool({"--user", kUser, "import", importFile(shown.out)});
    ASSERT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_EQ(fileText(current_), first);
    EXPECT_NE(shown.out.find("\"ProfileName\": \"sRGB \xC3\xA9\""), std::string::npos) << shown.out;
}

TEST_F(ToolTest, ShowOfARejectedFileFailsWithOneLine) {
    writeText(current_, fileXml(ClassXml(), ClassXml().drop("FileName"), ClassXml()));
    auto shown = tool({"--user", kUser, "show"});
    EXPECT_EQ(shown.exitStatus, 1);
    EXPECT_TRUE(shown.out.empty());
    EXPECT_NE(shown.err.find("cannot read " + current_), std::string::npos) << shown.err;
    EXPECT_EQ(std::count(shown.err.begin(), shown.err.end(), '\n'), 1) << shown.err;
}

struct BadImport {
    std::string json;
    std::string complaint;
};
class BadImportTest : public ToolTest, public ::testing::WithParamInterface<BadImport> {};

TEST_P(BadImportTest, IsRefusedNamingTheProblemAndLeavesTheFile) {
    ASSERT_EQ(tool({"--user", kUser, "import", importFile(kImportJson)}).exitStatus, 0);
    std::string before = fileText(current_);
    auto result = tool({"--user", kUser, "import", importFile(GetParam().json)});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find(GetParam().complaint), std::string::npos) << result.err;
    EXPECT_EQ(fileText(current_), before);
}

std::string withRgbEntry(const std::string& entry, int count = 1) {
    return R"({"RGB": {"count": )" + std::to_string(count) + R"(, "entries": [)" + entry +
           R"(]}, "SIM": {"count": 0, "entries": []}, "DST": {"count": 0, "entries": []}})";
}
const std::string kGoodEntry =
    R"("IndexOnDevice": 1, "ProfileClass": 1, "ProfileName": "P", "Location": 4)";

INSTANTIATE_TEST_SUITE_P(
    Json, BadImportTest,
    ::testing::Values(
        BadImport{"{\"RGB\": ", "not JSON"}, BadImport{"[1, 2]", "not a JSON object"},
        BadImport{R"({"RGB": {"count": 0, "entries": []}, "SIM": {"count": 0, "entries": []}})",
                  "missing \"DST\""},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 6, "FileName": ")" +
                               std::string(32, 'x') + "\"}"),
                  "RGB.entries[0].FileName: longer than 31 bytes"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": "6", "FileName": "f"})"),
                  "RGB.entries[0].InMenu: not a 32-bit integer"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 4294967296, "FileName": "f"})"),
                  "RGB.entries[0].InMenu: not a 32-bit integer"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 0, "FileName": "f"})"),
                  "RGB.entries[0].InMenu: an entry's state must be 1 to 6"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "FileName": "f"})"),
                  "RGB.entries[0]: missing \"InMenu\""},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 6, "FileName": "a\u0001"})"),
                  "RGB.entries[0].FileName: holds a control character"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 6, "FileName": "a\uFFFF"})"),
                  "RGB.entries[0].FileName: holds a control character or another character "
                  "XML 1.0 forbids"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 6, "FileName": "f", "x": 1})"),
                  "RGB.entries[0]: unknown key"},
        BadImport{withRgbEntry("{" + kGoodEntry + R"(, "InMenu": 6, "FileName": "f"})", 2),
                  "RGB.count: missing or not the number of entries"}));

TEST_F(ToolTest, IntegersPastTwoToTheSixtyFourthShowAsMissingKeys) {
    writeText(current_,
              fileXml(ClassXml()
                          .entry(0, 6, "a")
                          .set("IndexOnDevice", 0, "<integer>18446744073709551615</integer>")
                          .entry(1, 6, "b")
                          .set("IndexOnDevice", 1, "<integer>99999999999999999999999</integer>")
                          .entry(2, 6, "c")
                          .set("IndexOnDevice", 2, "<integer>-1</integer>")
                          .count(3),
                      ClassXml(), ClassXml()));
    auto shown = tool({"--user", kUser, "show"});
    ASSERT_EQ(shown.exitStatus, 0) << shown.err;
    auto indexes = nlohmann::json::parse(shown.out)["RGB"]["entries"];
    ASSERT_EQ(indexes.size(), 3u) << shown.out;
    EXPECT_EQ(indexes[0]["IndexOnDevice"], 0);
    EXPECT_EQ(indexes[1]["IndexOnDevice"], 0);
    EXPECT_EQ(indexes[2]["IndexOnDevice"], -1);
}

TEST_F(ToolTest, UsageErrorsExitWithStatus2) {
    EXPECT_EQ(tool({}).exitStatus, 2);
    EXPECT_EQ(tool({"--user", kUser, "frobnicate"}).exitStatus, 2);
    EXPECT_EQ(tool({"--user", kUser, "show", "extra"}).exitStatus, 2);
    EXPECT_EQ(tool({"--user", kUser, "import"}).exitStatus, 2);
}

TEST_F(ToolTest, UserNameThatWouldLeaveTheFolderIsRefused) {
    auto result = tool({"--user", "../../etc", "show"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("not a usable user name"), std::string::npos) << result.err;
}

// Root passes every permission check, so the import runs as "nobody" (setpriv); a
// non-root test run is unprivileged already.
TEST_F(ToolTest, ImportWithoutWritePermissionFailsAndChangesNothing) {
    ASSERT_EQ(tool({"--user", kUser, "import", importFile(kImportJson)}).exitStatus, 0);
    std::string before = fileText(current_);
    ASSERT_EQ(chmod(folder().c_str(), 0755), 0);
    ASSERT_EQ(chmod(current_.c_str(), 0644), 0);
    ASSERT_EQ(chmod(root_.path().c_str(), 0755), 0);
    std::string json = importFile(R"({"RGB": {"count": 0, "entries": []},
        "SIM": {"count": 0, "entries": []}, "DST": {"count": 0, "entries": []}})");
    ASSERT_EQ(chmod(json.c_str(), 0644), 0);
    std::vector<std::string> asNobody;
    if (geteuid() == 0) {
        asNobody = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
    }
    auto result = tool({"--user", kUser, "import", json}, asNobody);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("no permission to write"), std::string::npos) << result.err;
    EXPECT_EQ(fileText(current_), before);

    auto carol = tool({"--user", "carol", "import", json}, asNobody);
    EXPECT_EQ(carol.exitStatus, 1);
    EXPECT_FALSE(exists(folder() + "/carol-T48-profile.plist")) << "the write test creates nothing";
}

}  // namespace
}  // namespace t48::store::testing
