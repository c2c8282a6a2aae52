// The operations on the files: the write test, saves, swap, existence and removal, and
// the crash-safe replacement of a file.

#include <dirent.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "store-fixture.hpp"
#include "system-paths.hpp"

namespace t48::store::testing {
namespace {

class FilesTest : public StoreTest {
protected:
    // Names in the preferences folder other than "." and "..".
    std::vector<std::string> folderNames() {
        std::vector<std::string> names;
        DIR* dir = opendir(folder().c_str());
        while (dirent* item = dir != nullptr ? readdir(dir) : nullptr) {
            std::string name = item->d_name;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        }
        if (dir != nullptr) {
            closedir(dir);
        }
        return names;
    }
    void saveOneEntry(const char* fileName) {
        Lists lists;
        append(&lists.rgb(), makeEntry(1, kStatePrinterConfirmedListed, fileName));
        ASSERT_EQ(lists.write(), kStoreOK);
    }
    std::string firstName() {
        Lists lists;
        return lists.read() == kStoreOK ? lists.rgb().litem[0].FileName : "<unreadable>";
    }
};

TEST_F(FilesTest, WriteTestCreatesNoFile) {
    EXPECT_EQ(ZTPListIsAdminProfile(), 1);
    EXPECT_FALSE(exists(current_));
    EXPECT_TRUE(folderNames().empty());
}

TEST_F(FilesTest, WriteTestKeepsAnExistingFile) {
    saveOneEntry("kept.icc");
    std::string before = fileText(current_);
    EXPECT_EQ(ZTPListIsAdminProfile(), 1);
    EXPECT_EQ(fileText(current_), before);
}

TEST_F(FilesTest, PreferencesFolderIsRootsWithMode1777AndHoldsThePaths) {
    struct stat info {};
    ASSERT_EQ(stat(folder().c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 07777, 01777u);
    EXPECT_EQ(info.st_uid, 0u);
    EXPECT_EQ(current_, root_.path() +
                            std::string(t48::installedPath(t48::SystemPath::kPreferencesFolder)) +
                            "/alice-T48-profile.plist");
    EXPECT_EQ(previous_, folder() + "/alice-T48-profile.prev.plist");
    EXPECT_EQ(ZT_PLIST_PROFILE_SPOOL_PATH, folder() + "/alice-T48-profile.spool.plist");
}

TEST_F(FilesTest, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
    saveOneEntry("first.icc");
    saveOneEntry("second.icc");
    EXPECT_EQ(firstName(), "second.icc");
    EXPECT_EQ(folderNames(), std::vector<std::string>{"alice-T48-profile.plist"});
}

// A user's list is nobody else's business, whatever the creation mask.
TEST_F(FilesTest, SavedAndBackedUpFilesAreTheOwnersAlone) {
    mode_t mask = umask(0);
    saveOneEntry("first.icc");
    ASSERT_EQ(chmod(current_.c_str(), 0644), 0);
    saveOneEntry("second.icc");
    ZTPListSwapProfile(kSwapBackupCurrent);
    umask(mask);
    for (const std::string& path : {current_, previous_}) {
        struct stat info {};
        ASSERT_EQ(stat(path.c_str(), &info), 0) << path;
        EXPECT_EQ(info.st_mode & 07777, 0600u) << path;
    }
}

TEST_F(FilesTest, ALinkInPlaceOfTheFileIsNeitherFollowedNorReplaced) {
    std::string target = root_.file("elsewhere");
    writeText(target, "untouched");
    ASSERT_EQ(symlink(target.c_str(), current_.c_str()), 0);
    Lists lists;
    EXPECT_EQ(lists.write(), kStoreFailed);
    EXPECT_EQ(lists.read(), kStoreFailed);
    EXPECT_EQ(fileText(target), "untouched");
    struct stat info {};
    ASSERT_EQ(lstat(current_.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST_F(FilesTest, SaveRemovesOnlyTheRegularTemporariesOfItsFileLeftByGoneProcesses) {
    pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    std::string stale = "." + current_.substr(current_.rfind('/') + 1) + ".tmp-";
    writeText(folder() + "/" + stale + std::to_string(gone) + "-0-1", "killed save");
    writeText(folder() + "/" + stale + "1-0-1", "a live process");
    writeText(folder() + "/.other.plist.tmp-" + std::to_string(gone) + "-0-1", "not ours");
    std::string link = stale + std::to_string(gone) + "-0-2";
    ASSERT_EQ(symlink("elsewhere", (folder() + "/" + link).c_str()), 0);
    saveOneEntry("new.icc");
    std::vector<std::string> kept = {".other.plist.tmp-" + std::to_string(gone) + "-0-1", link,
                                     stale + "1-0-1", "alice-T48-profile.plist"};
    std::vector<std::string> names = folderNames();
    std::sort(kept.begin(), kept.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, kept);
}

TEST_F(FilesTest, WriteDictReplacesOneClassAndReportsWhatWasWritten) {
    Lists lists;
    append(&lists.rgb(), makeEntry(1, 4, "rgb.icc"));
    append(&lists.sim(), makeEntry(2, 4, "sim.icc"));
    ASSERT_EQ(lists.write(), kStoreOK);

    ProfileList dst{};
    append(&dst, makeEntry(3, 6, "dst.icc"));
    Lists out;
    ASSERT_EQ(ZTPListWriteProfile_Dict(&dst, kClassDST, &out.rgb(), &out.sim(), &out.dst()),
              kStoreOK);
    EXPECT_STREQ(out.rgb().litem[0].FileName, "rgb.icc");
    EXPECT_STREQ(out.dst().litem[0].FileName, "dst.icc");
    Lists again;
    ASSERT_EQ(again.read(), kStoreOK);
    EXPECT_STREQ(again.sim().litem[0].FileName, "sim.icc");
    EXPECT_STREQ(again.dst().litem[0].FileName, "dst.icc");
    EXPECT_EQ(ZTPListWriteProfile_Dict(&dst, 3, nullptr, nullptr, nullptr), kStoreFailed);
}

TEST_F(FilesTest, SwapBacksUpRestoresAndDeletes) {
    saveOneEntry("old.icc");
    ZTPListSwapProfile(kSwapBackupCurrent);
    EXPECT_EQ(fileText(previous_), fileText(current_));
    saveOneEntry("new.icc");
    ZTPListSwapProfile(kSwapRestorePrevious);
    EXPECT_EQ(firstName(), "old.icc");
    EXPECT_FALSE(exists(previous_));
    ZTPListSwapProfile(kSwapBackupCurrent);
    ZTPListSwapProfile(kSwapDeletePrevious);
    EXPECT_FALSE(exists(previous_));
    ZTPListSwapProfile(7);
    EXPECT_EQ(firstName(), "old.icc");
}

TEST_F(FilesTest, RestoreWithoutPreviousFileKeepsTheCurrentFile) {
    saveOneEntry("only.icc");
    ZTPListSwapProfile(kSwapRestorePrevious);
    EXPECT_EQ(firstName(), "only.icc");
}

TEST_F(FilesTest, BackupOfAMissingCurrentFileLeavesAnEmptyPreviousFile) {
    writeText(previous_, "stale backup");
    ZTPListSwapProfile(kSwapBackupCurrent);
    ASSERT_TRUE(exists(previous_));
    EXPECT_EQ(fileText(previous_), "");
    EXPECT_FALSE(exists(current_));
}

TEST_F(FilesTest, AFifoInPlaceOfTheFileFailsWithoutBlocking) {
    writeText(previous_, "kept backup");
    ASSERT_EQ(mkfifo(current_.c_str(), 0664), 0);
    Lists lists;
    EXPECT_EQ(lists.read(), kStoreFailed);
    ZTPListSwapProfile(kSwapBackupCurrent);
    EXPECT_EQ(fileText(previous_), "kept backup");
}

TEST_F(FilesTest, ExistAndRemove) {
    EXPECT_EQ(ZTPListExistProfile(), 0);
    saveOneEntry("a.icc");
    ZTPListSwapProfile(kSwapBackupCurrent);
    EXPECT_EQ(ZTPListExistProfile(), 1);
    EXPECT_EQ(ZTPListRemove(1), 0);
    EXPECT_TRUE(exists(current_));
    EXPECT_TRUE(exists(previous_));
    EXPECT_EQ(ZTPListRemove(kRemovePrevious), 1);
    EXPECT_FALSE(exists(previous_));
    EXPECT_EQ(ZTPListRemove(kRemovePrevious), 0);
    EXPECT_EQ(ZTPListRemove(kRemoveCurrent), 1);
    EXPECT_FALSE(exists(current_));
    EXPECT_EQ(ZTPListExistProfile(), 0);
}

TEST_F(FilesTest, OperationsFailWithoutPaths) {
    ASSERT_EQ(setServiceProfilePaths("bad/name", "T48"), kStoreFailed);
    EXPECT_TRUE(ZT_PLIST_PROFILE_PATH.empty());
    Lists lists;
    EXPECT_EQ(ZTPListIsAdminProfile(), 0);
    EXPECT_EQ(lists.write(), kStoreFailed);
    EXPECT_EQ(lists.read(), kStoreFailed);
}

struct Names {
    std::string user;
    std::string model;
};

// The longest user name whose service paths fit their buffer: "<folder>/<user>" then
// "-T48-profile", ".spool.plist" and the terminator (13 bytes).
std::size_t longestUserName() {
    return kServicePathSize - t48::installedPath(t48::SystemPath::kPreferencesFolder).size() - 1 -
           12 - 13;
}
class RefusedNamesTest : public ::testing::TestWithParam<Names> {};

TEST_P(RefusedNamesTest, FormNoPath) {
    ProfilePaths paths;
    paths.current = "unchanged";
    EXPECT_EQ(formatProfilePaths(GetParam().user, GetParam().model, kServicePathSize, &paths),
              kStoreFailed);
    EXPECT_EQ(paths.current, "unchanged");
}

INSTANTIATE_TEST_SUITE_P(Paths, RefusedNamesTest,
                         ::testing::Values(Names{"", "T48"}, Names{"alice", ""}, Names{"..", "T48"},
                                           Names{"a/../../b", "T48"}, Names{"alice", "T48/x"},
                                           Names{std::string(longestUserName() + 1, 'u'), "T48"}));

TEST(PathLengthTest, LongestUserNameThatFits) {
    ProfilePaths paths;
    EXPECT_EQ(
        formatProfilePaths(std::string(longestUserName(), 'u'), "T48", kServicePathSize, &paths),
        kStoreOK);
}

TEST(PanelPathsTest, NameTheRealUsersFilesOfModelT48) {
    ProfilePaths paths;
    ASSERT_EQ(panelProfilePaths(&paths), kStoreOK);
    std::string user = realUserLoginName();
    ASSERT_FALSE(user.empty());
    EXPECT_NE(paths.current.find("/orvell.printers.T48/" + user + "-T48-profile.plist"),
              std::string::npos)
        << paths.current;
}

}  // namespace
}  // namespace t48::store::testing
