// Two users of one machine who share a primary group, as on many sites, and the one
// preferences folder they share: user A's profile files are A's alone whatever user B
// plants under A's names, root's tools acting for A leave them A's, and the folder comes
// back only as the package makes it. The real service, helper, panel host and tools run
// as the two users (setpriv).

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "pdehost-run.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::testing {
namespace {

namespace fs = std::filesystem;

// Fixed names, created by this program when missing and removed again at its end.
constexpr char kGroup[] = "t48share";
constexpr char kUserA[] = "t48alice";
constexpr char kUserB[] = "t48bob";

constexpr char kSilentPeer[] = "127.0.22.9:16622";  // nothing listens here
constexpr char kPrinterAddress[] = "127.0.22.1";

class TwoUsersSharingAGroup : public ::testing::Environment {
public:
    void SetUp() override {
        if (getgrnam(kGroup) == nullptr) {
            createdGroup_ = runProgram({"/usr/sbin/groupadd", kGroup}).exitStatus == 0;
        }
        for (const char* user : {kUserA, kUserB}) {
            if (getpwnam(user) == nullptr &&
                runProgram({"/usr/sbin/useradd", "--no-create-home", "--home-dir", "/nonexistent",
                            "--shell", "/usr/sbin/nologin", "--gid", kGroup, "--no-user-group",
                            user})
                        .exitStatus == 0) {
                created_.push_back(user);
            }
        }
    }
    void TearDown() override {
        for (const std::string& user : created_) {
            runProgram({"/usr/sbin/userdel", user});
        }
        if (createdGroup_) {
            runProgram({"/usr/sbin/groupdel", kGroup});
        }
    }

private:
    std::vector<std::string> created_;
    bool createdGroup_ = false;
};
::testing::Environment* const kTwoUsers =
    ::testing::AddGlobalTestEnvironment(new TwoUsersSharingAGroup);

uid_t uidOf(const char* user) {
    const passwd* entry = getpwnam(user);
    return entry != nullptr ? entry->pw_uid : static_cast<uid_t>(-1);
}

std::string json(const std::string& fileName) {
    return R"({"RGB": {"count": 1, "entries": [{"IndexOnDevice": 501, "InMenu": 6,
        "ProfileClass": 2, "FileName": ")" +
           fileName + R"(", "ProfileName": ")" + fileName +
           R"(", "Location": 4}]}, "SIM": {"count": 0, "entries": []},
        "DST": {"count": 0, "entries": []}})";
}

// A's service runs in a test root. The folder is shared by the group, 1770, rather than by
// everyone: the kernel's protections of links and FIFOs (fs.protected_*) cover only
// sticky folders that everyone may write, and the programs must not rely on them.
class SharedFolder : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(uidOf(kUserA), static_cast<uid_t>(-1)) << "no test user " << kUserA;
        ASSERT_NE(uidOf(kUserB), static_cast<uid_t>(-1)) << "no test user " << kUserB;
        ASSERT_EQ(chown(folder().c_str(), 0, getgrnam(kGroup)->gr_gid), 0);
        ASSERT_EQ(chmod(folder().c_str(), 01770), 0);
        fs::create_directory(outside());
        ASSERT_EQ(chmod(outside().c_str(), 0777), 0);  // a place anyone could have files made in
        writeFile(jsonFile(), json("MINE.ICC"));
        ASSERT_EQ(chmod(jsonFile().c_str(), 0644), 0);
        ASSERT_TRUE(root_.startService()) << readFile(root_.root() + "/service.log");
    }

    std::string folder() const { return root_.preferencesFolder(); }
    std::string outside() const { return root_.root() + "/outside"; }
    std::string jsonFile() const { return root_.root() + "/mine.json"; }
    std::string leaf(const std::string& path) const { return fs::path(path).filename(); }

    // `argv` run as `user` ("root": as this process) in the test root.
    RunResult as(const std::string& user, std::vector<std::string> argv) const {
        std::vector<std::string> full = ServiceRoot::asUserPrefix(user);
        full.insert(full.end(), argv.begin(), argv.end());
        std::vector<std::string> environment = root_.environment();
        environment.insert(environment.end(), kEnglish.begin(), kEnglish.end());
        return runProgram(full, environment);
    }
    static std::string profilesTool() { return binaryDir() + "/tools/t48-profiles/t48-profiles"; }
    // t48-mibwalk for `user` at `peer`, which gets half a second to answer.
    static std::vector<std::string> walkTool(const std::string& user, const std::string& peer) {
        std::vector<std::string> argv = {binaryDir() + "/tools/t48-mibwalk/t48-mibwalk", "--user",
                                         user, "--"};
        argv.insert(argv.end(), {"snmpwalk", "-Os", "-c", "fennel", "-v", "1", "-t", "0.5", "-r",
                                 "0", peer, kProfileTableEntry});
        return argv;
    }
    RunResult panel() const { return as(kUserA, {pdehost(), "--printer", "T48_Office", "show"}); }
    // A save as the profile window makes it, through the helper and A's service.
    bool saveThroughTheService() const {
        const std::string url = ServiceRoot::fileURL(root_.currentPath());
        for (const std::string& chunk : saveChunks(fullProfileText(3, 4))) {
            if (root_.helper({"writeDataToPlistFile_XPC", url, chunk}).out !=
                "writeDataToPlistFile_XPC=TRUE\n") {
                return false;
            }
        }
        return root_.helper({"writeDataToPlistFileRename_XPC", url}).out ==
               "writeDataToPlistFileRename_XPC=TRUE\n";
    }

    // A file of A's own, as everything that writes for A must leave it.
    void expectAsAlone(const std::string& path) const {
        struct stat info;
        ASSERT_EQ(lstat(path.c_str(), &info), 0) << path;
        EXPECT_TRUE(S_ISREG(info.st_mode)) << path;
        EXPECT_EQ(info.st_uid, uidOf(kUserA)) << path;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << path;
    }

    ServiceRoot root_{kUserA};
};

// What B plants under one of A's names: B's own files are B's profile list, which offers
// "EVIL.ICC", readable by everyone.
struct Squat {
    const char* kind;
    std::function<void(const std::string& path, const std::string& bsFile,
                       const std::string& outside)>
        plant;
};
void PrintTo(const Squat& squat, std::ostream* out) {
    *out << squat.kind;
}
void giveToB(const std::string& path) {
    ASSERT_EQ(lchown(path.c_str(), uidOf(kUserB), getgrnam(kGroup)->gr_gid), 0) << path;
}
const Squat kSquats[] = {
    {"PlainFile",
     [](const std::string& path, const std::string& bsFile, const std::string&) {
         fs::copy_file(bsFile, path);
         giveToB(path);
     }},
    {"Symlink",
     [](const std::string& path, const std::string& bsFile, const std::string&) {
         fs::create_symlink(bsFile, path);
         giveToB(path);
     }},
    {"DanglingSymlink",
     [](const std::string& path, const std::string&, const std::string& outside) {
         fs::create_symlink(outside + "/created-through-a-link", path);
         giveToB(path);
     }},
    {"HardLink", [](const std::string& path, const std::string& bsFile,
                    const std::string&) { fs::create_hard_link(bsFile, path); }},
    {"Fifo",
     [](const std::string& path, const std::string&, const std::string&) {
         ASSERT_EQ(mkfifo(path.c_str(), 0666), 0);
         giveToB(path);
     }},
    {"Folder",
     [](const std::string& path, const std::string&, const std::string&) {
         fs::create_directory(path);
         chmod(path.c_str(), 0777);
         giveToB(path);
     }},
};
enum class AsName { kCurrent, kPrevious, kSaveTemporary };

class SquattedName : public SharedFolder,
                     public ::testing::WithParamInterface<std::tuple<Squat, AsName>> {
protected:
    std::string squatted() const {
        switch (std::get<AsName>(GetParam())) {
            case AsName::kCurrent:
                return root_.currentPath();
            case AsName::kPrevious:
                return root_.previousPath();
            default:
                return root_.temporaryPath();
        }
    }
    // The whole test root but the service's socket and log and A's files, except the
    // name B holds.
    std::map<std::string, std::string> everythingButAsFiles() const {
        std::map<std::string, std::string> tree = treeSnapshot(root_.root());
        const std::string folderPart = fs::relative(folder(), root_.root()).string() + "/";
        std::erase_if(tree, [&](const auto& entry) {
            const std::string& path = entry.first;
            return path.starts_with("run") || path == "service.log" ||
                   (path.starts_with(folderPart + kUserA) && path != folderPart + leaf(squatted()));
        });
        return tree;
    }
};

TEST_P(SquattedName, AShowsNothingOfBsAndNoToolWritesThroughIt) {
    const std::string bsFile = root_.currentPath(kUserB);
    writeFile(root_.root() + "/evil.json", json("EVIL.ICC"));
    ASSERT_EQ(chmod((root_.root() + "/evil.json").c_str(), 0644), 0);
    ASSERT_EQ(as("root", {profilesTool(), "--user", kUserB, "import", root_.root() + "/evil.json"})
                  .exitStatus,
              0);
    ASSERT_EQ(chmod(bsFile.c_str(), 0644), 0);
    std::get<Squat>(GetParam()).plant(squatted(), bsFile, outside());
    const std::map<std::string, std::string> before = everythingButAsFiles();

    const RunResult firstPanel = panel();
    const RunResult shown = as(kUserA, {profilesTool(), "show"});
    const RunResult imported = as(kUserA, {profilesTool(), "import", jsonFile()});
    const RunResult rootImported =
        as("root", {profilesTool(), "--user", kUserA, "import", jsonFile()});
    const bool saved = saveThroughTheService();
    root_.helper({"ztPListSwapProfile_XPC", "2", root_.currentPath(), root_.previousPath()});
    as("root", walkTool(kUserA, kSilentPeer));
    const RunResult lastPanel = panel();

    for (const RunResult* run : {&firstPanel, &shown, &lastPanel}) {
        EXPECT_EQ(run->out.find("EVIL"), std::string::npos) << run->out;
    }
    EXPECT_EQ(firstPanel.exitStatus, 0) << firstPanel.err;
    EXPECT_EQ(everythingButAsFiles(), before) << "B's file or something outside was changed";
    const bool currentSquatted = std::get<AsName>(GetParam()) == AsName::kCurrent;
    // Squatting the current name, or the save's, keeps A from writing: that is by design.
    EXPECT_EQ(imported.exitStatus, currentSquatted ? 1 : 0) << imported.err;
    EXPECT_EQ(rootImported.exitStatus, currentSquatted ? 1 : 0) << rootImported.err;
    EXPECT_EQ(saved, std::get<AsName>(GetParam()) == AsName::kPrevious);
    for (const std::string& path :
         {root_.currentPath(), root_.previousPath(), root_.temporaryPath()}) {
        if (path != squatted() && fileExists(path)) {
            expectAsAlone(path);
        }
    }
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<Squat, AsName>>& info) {
    static const char* const kNames[] = {"Current", "Previous", "SaveTemporary"};
    return std::string(std::get<Squat>(info.param).kind) + "As" +
           kNames[static_cast<int>(std::get<AsName>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Service, SquattedName,
                         ::testing::Combine(::testing::ValuesIn(kSquats),
                                            ::testing::Values(AsName::kCurrent, AsName::kPrevious,
                                                              AsName::kSaveTemporary)),
                         caseName);

TEST_F(SharedFolder, RootsToolsLeaveAsFileAsAndASavesAfterwards) {
    TempDir agent;
    SnmpdPrinter printer(agent.path(), kPrinterAddress, 161, generatedRows(3));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();
    const RunResult imported = as("root", {profilesTool(), "--user", kUserA, "import", jsonFile()});
    ASSERT_EQ(imported.exitStatus, 0) << imported.err;
    expectAsAlone(root_.currentPath());
    const RunResult walked = as("root", walkTool(kUserA, printer.peer()));
    EXPECT_EQ(walked.out, "iRet=0\n") << walked.err;
    EXPECT_EQ(walked.exitStatus, 0) << walked.err;
    expectAsAlone(root_.currentPath());

    const RunResult shown = as(kUserA, {profilesTool(), "show"});
    EXPECT_NE(shown.out.find("MINE.ICC"), std::string::npos) << shown.out << shown.err;
    EXPECT_NE(shown.out.find("PROF1.ICC"), std::string::npos) << shown.out;
    EXPECT_NE(panel().out.find("MINE.ICC(MINE.ICC)Disk"), std::string::npos) << "A's menus";
    EXPECT_EQ(root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()}).out,
              "ztPListIsAdminProfile_XPC=TRUE\n");
    EXPECT_TRUE(saveThroughTheService());
    EXPECT_EQ(readFile(root_.currentPath()), fullProfileText(3, 4));
    expectAsAlone(root_.currentPath());
}

TEST_F(SharedFolder, ADeletedFolderComesBackOnlyWithMode1777) {
    const fs::path parent = fs::path(folder()).parent_path();
    auto expectAsThePackageMakesIt = [&] {
        struct stat info;
        ASSERT_EQ(lstat(folder().c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 01777u);
        EXPECT_EQ(info.st_uid, 0u);
        EXPECT_EQ(info.st_gid, 0u);
        ASSERT_EQ(lstat(parent.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0755u);
    };
    fs::remove_all(parent);

    EXPECT_EQ(as("root", {profilesTool(), "--user", kUserA, "show"}).exitStatus, 1);
    EXPECT_FALSE(fs::exists(parent)) << "a command that only reads made the folder";
    const RunResult imported = as(kUserA, {profilesTool(), "import", jsonFile()});
    EXPECT_EQ(imported.exitStatus, 1);
    EXPECT_NE(imported.err.find("only root can create it"), std::string::npos) << imported.err;
    const RunResult walked = as(kUserA, walkTool(kUserA, kSilentPeer));
    EXPECT_EQ(walked.exitStatus, 1);
    EXPECT_NE(walked.err.find("only root can create it"), std::string::npos) << walked.err;
    EXPECT_EQ(root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()}).out,
              "ztPListIsAdminProfile_XPC=FALSE\n");
    EXPECT_FALSE(fs::exists(parent));

    EXPECT_EQ(as("root", walkTool(kUserA, kSilentPeer)).exitStatus, 0);
    expectAsThePackageMakesIt();
    expectAsAlone(root_.currentPath());

    fs::remove_all(parent);
    EXPECT_EQ(as("root", {profilesTool(), "--user", kUserA, "import", jsonFile()}).exitStatus, 0);
    expectAsThePackageMakesIt();

    // Root's own service, writing for A.
    ServiceRoot rootsService;
    ASSERT_TRUE(rootsService.startService());
    fs::remove_all(fs::path(rootsService.preferencesFolder()).parent_path());
    EXPECT_EQ(
        rootsService
            .helper({"writeDictionaryToPlistFile_XPC",
                     ServiceRoot::fileURL(rootsService.currentPath(kUserA)), fullProfileText(4, 2)})
            .out,
        "writeDictionaryToPlistFile_XPC=TRUE\n");
    struct stat info;
    ASSERT_EQ(lstat(rootsService.preferencesFolder().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 01777u);
    ASSERT_EQ(lstat(rootsService.currentPath(kUserA).c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, uidOf(kUserA));
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

}  // namespace
}  // namespace t48::testing
