// Hostile requests against the real xpcservice, running as an unprivileged user (root
// passes every permission check): each is refused or answered safely, and a sentinel tree
// of files outside that user's profile files is unchanged afterwards.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "service-fixture.hpp"

namespace t48::testing {
namespace {

constexpr char kUser[] = "nobody";
const std::string kDropped = "<connection dropped>";

struct HostileCase {
    const char* name;
    // Plants what the case needs (links, files of others) in the test root.
    std::function<void(const ServiceRoot&)> plant;
    std::string method;
    std::function<std::string(const ServiceRoot&)> request;
    std::string expected;  // the reply, or kDropped
};

std::string sentinel(const ServiceRoot& root, const std::string& name = "secret.txt") {
    return root.root() + "/sentinel/" + name;
}
std::string prefs(const ServiceRoot& root, const std::string& leaf) {
    return root.preferencesFolder() + "/" + leaf;
}
std::string url(const std::string& path) {
    return ServiceRoot::fileURL(path);
}
std::string swap(const std::string& mode, const std::string& current, const std::string& previous) {
    return mode + ":ARG_iSwapType" + current + ":ARG_cFooCurrentString" + previous +
           ":ARG_cFooPrevString";
}
std::string walk(const std::string& model, const std::string& user, int arguments) {
    std::string request = model + ":ModelName:END" + user + ":USErName:END";
    for (int i = 0; i < arguments; ++i) {
        request += (i == 0 ? "snmpwalk" : "-Os") + std::string(":arg:");
    }
    return request;
}
void link(const std::string& target, const std::string& path) {
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
}
void nothing(const ServiceRoot&) {}

const std::vector<HostileCase>& hostileCases() {
    static const std::vector<HostileCase> cases = {
        {"DotDotOutOfThePreferencesFolder", nothing, "ztPListRemove_XPC",
         [](const ServiceRoot& r) { return prefs(r, "../../../../../sentinel/secret.txt"); },
         "FALSE"},
        {"DotDotThroughOwnFileName", nothing, "ztPListIsAdminProfile_XPC",
         [](const ServiceRoot& r) {
             return prefs(r, "nobody-T48-profile.plist/../../../../../../sentinel/new.txt");
         },
         "FALSE"},
        {"AbsolutePathElsewhereExists", nothing, "ztPListExistProfile_XPC",
         [](const ServiceRoot& r) { return sentinel(r); }, "FALSE"},
        {"AbsolutePathElsewhereWriteTest", nothing, "ztPListIsAdminProfile_XPC",
         [](const ServiceRoot& r) { return r.root() + "/sentinel/created-by-test.txt"; }, "FALSE"},
        {"SystemFileRemove", nothing, "ztPListRemove_XPC",
         [](const ServiceRoot&) { return std::string("/etc/passwd"); }, "FALSE"},
        {"AnotherUsersFileRemove", nothing, "ztPListRemove_XPC",
         [](const ServiceRoot& r) { return r.currentPath("root"); }, "FALSE"},
        {"AnotherUsersFileExists", nothing, "ztPListExistProfile_XPC",
         [](const ServiceRoot& r) { return r.currentPath("root"); }, "FALSE"},
        {"AnotherUsersFileWriteTest", nothing, "ztPListIsAdminProfile_XPC",
         [](const ServiceRoot& r) { return r.currentPath("daemon"); }, "FALSE"},
        {"AnotherUsersFileWrite", nothing, "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath("root")) + ":AddURL:ENDpwned"; },
         "FALSE"},
        {"UserNameWithDashCrossesIntoAnotherUser", nothing, "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) {
             return url(prefs(r, "nobody-x-T48-profile.plist")) + ":AddURL:ENDpwned";
         },
         "FALSE"},
        {"WriteOutsideByURL", nothing, "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(sentinel(r)) + ":AddURL:ENDpwned"; }, "FALSE"},
        {"ChunkOutsideByDotDotURL", nothing, "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) {
             return "file://" + prefs(r, "../../../../../sentinel/x") + ":AddURL:END<?xml";
         },
         "FALSE"},
        {"ChunkForThePreviousFile", nothing, "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.previousPath()) + ":AddURL:ENDtext"; }, "FALSE"},
        {"RenameOverAnotherUsersFile", nothing, "writeDataToPlistFileRename_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath("root")); }, "FALSE"},
        {"RemoteHostURL", nothing, "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) {
             return "file://printer.example" + r.currentPath() + ":AddURL:ENDtext";
         },
         "FALSE"},
        {"RelativeURL", nothing, "writeDataToPlistFile_XPC",
         [](const ServiceRoot&) {
             return std::string("file:nobody-T48-profile.plist:AddURL:END<?xml");
         },
         "FALSE"},
        {"SwapBackupOfAFileElsewhere", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("2", sentinel(r), r.previousPath()); }, "FALSE"},
        {"SwapRestoreFromAFileElsewhere", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("0", r.currentPath(), sentinel(r)); }, "FALSE"},
        {"SwapBackupOfAnotherUsersFile", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("2", r.currentPath("root"), r.previousPath()); },
         "FALSE"},
        {"SwapDeleteOfAnotherUsersBackup", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("1", "NULL", r.previousPath("root")); }, "FALSE"},
        {"SwapWithPathsSwapped", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("0", r.previousPath(), r.currentPath()); },
         "FALSE"},
        {"LinkInPlaceOfTheProfileWriteTest",
         [](const ServiceRoot& r) { link(sentinel(r), r.currentPath()); },
         "ztPListIsAdminProfile_XPC", [](const ServiceRoot& r) { return r.currentPath(); },
         "FALSE"},
        {"LinkInPlaceOfTheProfileExists",
         [](const ServiceRoot& r) { link(sentinel(r), r.currentPath()); },
         "ztPListExistProfile_XPC", [](const ServiceRoot& r) { return r.currentPath(); }, "FALSE"},
        {"LinkInPlaceOfTheProfileWrite",
         [](const ServiceRoot& r) { link(sentinel(r), r.currentPath()); },
         "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + ":AddURL:ENDpwned"; }, "FALSE"},
        {"LinkInPlaceOfTheTemporaryFileAppend",
         [](const ServiceRoot& r) { link(sentinel(r), r.temporaryPath()); },
         "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + ":AddURL:ENDappended"; },
         "FALSE"},
        {"LinkInPlaceOfTheTemporaryFileFreshStart",
         [](const ServiceRoot& r) { link(sentinel(r), r.temporaryPath()); },
         "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + ":AddURL:END<?xml x"; }, "FALSE"},
        {"LinkInPlaceOfTheTemporaryFileRename",
         [](const ServiceRoot& r) { link(sentinel(r, "good-profile.plist"), r.temporaryPath()); },
         "writeDataToPlistFileRename_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()); }, "FALSE"},
        {"LinkInPlaceOfTheProfileSwapBackup",
         [](const ServiceRoot& r) { link(sentinel(r), r.currentPath()); }, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("2", r.currentPath(), r.previousPath()); }, "TRUE"},
        {"LinkInPlaceOfThePreviousFileSwapBackup",
         [](const ServiceRoot& r) { link(sentinel(r), r.previousPath()); },
         "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("2", r.currentPath(), r.previousPath()); }, "TRUE"},
        {"LinkInPlaceOfThePreviousFileSwapRestore",
         [](const ServiceRoot& r) { link(sentinel(r, "good-profile.plist"), r.previousPath()); },
         "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return swap("0", r.currentPath(), r.previousPath()); }, "TRUE"},
        {"HardLinkInPlaceOfTheProfile",
         [](const ServiceRoot& r) {
             ASSERT_EQ(::link(sentinel(r).c_str(), r.currentPath().c_str()), 0);
         },
         "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + ":AddURL:ENDpwned"; }, "FALSE"},
        {"FileNamedForTheUserButOwnedByAnother",
         [](const ServiceRoot& r) {
             writeFile(prefs(r, "nobody-X1-profile.plist"), "planted");
             chmod(prefs(r, "nobody-X1-profile.plist").c_str(), 0666);
         },
         "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) {
             return url(prefs(r, "nobody-X1-profile.plist")) + ":AddURL:ENDread by the planter";
         },
         "FALSE"},
        {"NulByteInAPath", nothing, "ztPListRemove_XPC",
         [](const ServiceRoot& r) {
             return r.currentPath() + std::string(1, '\0') + "/../../../../sentinel/secret.txt";
         },
         "FALSE"},
        {"NulByteInAWriteTestPath", nothing, "ztPListIsAdminProfile_XPC",
         [](const ServiceRoot& r) { return sentinel(r) + std::string(1, '\0') + r.currentPath(); },
         "FALSE"},
        {"EscapedNulInAURL", nothing, "writeDictionaryToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + "%00.x:AddURL:ENDtext"; },
         "FALSE"},
        {"NulByteInAWalkArgument", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) {
             return "T48:ModelName:ENDnobody:USErName:ENDsnmpwalk" + std::string(1, '\0') +
                    "x:arg:";
         },
         "iRet=-1"},
        {"TenThousandCharacterName", nothing, "ztPListIsAdminProfile_XPC",
         [](const ServiceRoot& r) {
             return prefs(r, std::string(10000, 'a') + "-T48-profile.plist");
         },
         "FALSE"},
        {"TenThousandCharacterModel", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk(std::string(10000, 'M'), kUser, 2); }, "iRet=-1"},
        {"FiveHundredThirteenWalkArguments", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("T48", kUser, 513); }, "iRet=-1"},
        {"WalkForAnotherUser", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("T48", "root", 2); }, "iRet=-1"},
        {"WalkModelWithSlashes", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("../../../../sentinel/x", kUser, 2); }, "iRet=-1"},
        {"WalkModelDot", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk(".", kUser, 2); }, "iRet=-1"},
        {"WalkUserDotDot", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("T48", "..", 2); }, "iRet=-1"},
        {"WalkModelWithADash", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("x-T48", kUser, 2); }, "iRet=-1"},
        {"WalkWithoutArguments", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return walk("T48", kUser, 0); }, "iRet=-1"},
        {"SwapMissingAMarker", nothing, "ztPListSwapProfile_XPC",
         [](const ServiceRoot& r) { return "2:ARG_iSwapType" + r.currentPath(); }, "FALSE"},
        {"ChunkMissingItsMarker", nothing, "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + "<?xml"; }, "FALSE"},
        {"WalkMissingTheUserMarker", nothing, "mibwalk_XPC",
         [](const ServiceRoot&) { return std::string("T48:ModelName:ENDnobody"); }, "iRet=-1"},
        {"ChunkThatIsNotUTF8", nothing, "writeDataToPlistFile_XPC",
         [](const ServiceRoot& r) { return url(r.currentPath()) + ":AddURL:END<?xml \xff\xfe"; },
         "FALSE"},
        {"UnknownMethod", nothing, "ztPListFormat_XPC",
         [](const ServiceRoot& r) { return r.currentPath(); }, kDropped},
        {"MethodNameWithNul", nothing, std::string("ztPListRemove_XPC\0", 18),
         [](const ServiceRoot& r) { return r.currentPath(); }, kDropped},
    };
    return cases;
}

void PrintTo(const HostileCase& hostile, std::ostream* out) {
    *out << hostile.name;
}

class HostileRequests : public ::testing::TestWithParam<HostileCase> {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        fs::create_directories(root_.root() + "/sentinel");
        writeFile(sentinel(root_), "the sentinel's own text");
        writeFile(sentinel(root_, "good-profile.plist"), fullProfileText(9, 2));
        chmod(sentinel(root_).c_str(), 0666);  // writable by anyone: only the service guards it
        writeFile(root_.currentPath("root"), fullProfileText(7, 2));
        chmod(root_.currentPath("root").c_str(), 0666);
        writeFile(root_.previousPath("root"), "root's backup");
        chmod(root_.previousPath("root").c_str(), 0666);
        writeFile(
            std::filesystem::path(root_.preferencesFolder()).parent_path() / "elsewhere.plist",
            "x");
        GetParam().plant(root_);
        before_ = sentinelTree();
        ASSERT_TRUE(root_.startService()) << readFile(root_.root() + "/service.log");
    }

    // Everything in the test root but the service's own user's "T48" files, its socket
    // and its log.
    std::map<std::string, std::string> sentinelTree() {
        std::map<std::string, std::string> tree = treeSnapshot(root_.root());
        std::erase_if(tree, [](const auto& entry) {
            const std::string& path = entry.first;
            return path.starts_with("run") || path == "service.log" ||
                   path.find("/nobody-T48-profile.") != std::string::npos;
        });
        return tree;
    }

    ServiceRoot root_{kUser};
    std::map<std::string, std::string> before_;
};

TEST_P(HostileRequests, AreRefusedAndTouchNothingElse) {
    const HostileCase& hostile = GetParam();
    std::optional<std::string> reply =
        root_.rawRequest(hostile.method, hostile.request(root_), kNobodyUid);
    EXPECT_EQ(reply.value_or(kDropped), hostile.expected);
    EXPECT_EQ(sentinelTree(), before_) << "files outside the user's profile files changed";
    EXPECT_TRUE(root_.service()->running()) << "the service died";
}

INSTANTIATE_TEST_SUITE_P(Service, HostileRequests, ::testing::ValuesIn(hostileCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Only the service's own user and root are served.
class PeerCheck : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.startService());
        // Open the socket up, so that only the service's own check stands in the way.
        chmod((root_.root() + "/run").c_str(), 0755);
        chmod(root_.socketPath().c_str(), 0666);
    }
    ServiceRoot root_{kUser};
};

TEST_F(PeerCheck, APeerOfAnotherUidIsRefused) {
    constexpr uid_t kDaemonUid = 1;
    EXPECT_EQ(root_.rawRequest("ztPListExistProfile_XPC", root_.currentPath(), kDaemonUid),
              std::nullopt);
    RunResult result = root_.helper({"ztPListExistProfile_XPC", root_.currentPath()}, "daemon");
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
}

TEST_F(PeerCheck, TheOwnUserAndRootAreServed) {
    EXPECT_EQ(root_.rawRequest("ztPListExistProfile_XPC", root_.currentPath(), kNobodyUid),
              "FALSE");
    writeFile(root_.currentPath(), "x");
    EXPECT_EQ(root_.rawRequest("ztPListExistProfile_XPC", root_.currentPath(), 0), "TRUE");
}

TEST_F(PeerCheck, TheSocketIsTheOwnersAlone) {
    root_.stopService();
    ASSERT_TRUE(root_.startService());
    struct stat info;
    ASSERT_EQ(stat(root_.socketPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_uid, kNobodyUid);
}

}  // namespace
}  // namespace t48::testing

namespace t48::testing {
namespace {

// Permission checks, which only an unprivileged user meets: the service and the helper both
// run as that user.
class UnprivilegedUser : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root_.startService()); }
    ServiceRoot root_{kUser};
};

TEST_F(UnprivilegedUser, AFileTheUserMayNotWriteExistsButFailsTheWriteTest) {
    writeFile(root_.currentPath(), "root's copy");
    chmod(root_.currentPath().c_str(), 0644);
    EXPECT_EQ(root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()}).out,
              "ztPListIsAdminProfile_XPC=FALSE\n");
    EXPECT_EQ(root_.helper({"ztPListExistProfile_XPC", root_.currentPath()}).out,
              "ztPListExistProfile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "root's copy");
}

TEST_F(UnprivilegedUser, AReadOnlyFileOfTheUserFailsTheWriteTest) {
    writeFile(root_.currentPath(), "read only");
    chown(root_.currentPath().c_str(), kNobodyUid, kNobodyUid);
    chmod(root_.currentPath().c_str(), 0444);
    EXPECT_EQ(root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()}).out,
              "ztPListIsAdminProfile_XPC=FALSE\n");
}

TEST_F(UnprivilegedUser, ASaveCreatesTheUsersOwnFile) {
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    EXPECT_EQ(root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()}).out,
              "ztPListIsAdminProfile_XPC=TRUE\n");
    std::string text = fullProfileText(5);
    for (const std::string& chunk : saveChunks(text)) {
        ASSERT_EQ(root_.helper({"writeDataToPlistFile_XPC", url, chunk}).out,
                  "writeDataToPlistFile_XPC=TRUE\n");
    }
    EXPECT_EQ(root_.helper({"writeDataToPlistFileRename_XPC", url}).out,
              "writeDataToPlistFileRename_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), text);
    struct stat info;
    ASSERT_EQ(stat(root_.currentPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, kNobodyUid);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace t48::testing
