// Every request of the helper's command table through the real T48Helper against the real
// xpcservice, with the markers the panel searches for and the files left behind.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "service-fixture.hpp"

namespace t48::testing {
namespace {

class ServiceRequests : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.startService()) << readFile(root_.root() + "/service.log");
    }

    // Runs the helper, expects exit status 0, and answers its whole output.
    std::string run(const std::vector<std::string>& arguments) {
        RunResult result = root_.helper(arguments);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return result.out;
    }

    ServiceRoot root_;
};

TEST_F(ServiceRequests, WriteTestPassesAndCreatesNoFile) {
    EXPECT_EQ(run({"ztPListIsAdminProfile_XPC", root_.currentPath()}),
              "ztPListIsAdminProfile_XPC=TRUE\n");
    EXPECT_FALSE(fileExists(root_.currentPath()));
    writeFile(root_.currentPath(), "kept");
    EXPECT_EQ(run({"ztPListIsAdminProfile_XPC", root_.currentPath()}),
              "ztPListIsAdminProfile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "kept");
}

TEST_F(ServiceRequests, ExistenceFollowsTheFile) {
    EXPECT_EQ(run({"ztPListExistProfile_XPC", root_.currentPath()}),
              "ztPListExistProfile_XPC=FALSE\n");
    writeFile(root_.currentPath(), "x");
    EXPECT_EQ(run({"ztPListExistProfile_XPC", root_.currentPath()}),
              "ztPListExistProfile_XPC=TRUE\n");
}

TEST_F(ServiceRequests, RemoveAnswersWhetherAFileWent) {
    writeFile(root_.previousPath(), "old");
    EXPECT_EQ(run({"ztPListRemove_XPC", root_.previousPath()}), "ztPListRemove_XPC=TRUE\n");
    EXPECT_FALSE(fileExists(root_.previousPath()));
    EXPECT_EQ(run({"ztPListRemove_XPC", root_.previousPath()}), "ztPListRemove_XPC=FALSE\n");
}

TEST_F(ServiceRequests, SwapModeTwoBacksUpTheCurrentFile) {
    writeFile(root_.currentPath(), "current content");
    writeFile(root_.previousPath(), "stale backup that is longer than the current content");
    EXPECT_EQ(run({"ztPListSwapProfile_XPC", "2", root_.currentPath(), root_.previousPath()}),
              "ztPListSwapProfile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.previousPath()), "current content");
    EXPECT_EQ(readFile(root_.currentPath()), "current content");
}

TEST_F(ServiceRequests, SwapModeTwoMakesNoEmptyBackupOfACurrentFileThatDoesNotOpen) {
    writeFile(root_.root() + "/target", "elsewhere");
    ASSERT_EQ(symlink((root_.root() + "/target").c_str(), root_.currentPath().c_str()), 0);
    EXPECT_EQ(run({"ztPListSwapProfile_XPC", "2", root_.currentPath(), root_.previousPath()}),
              "ztPListSwapProfile_XPC=TRUE\n");
    EXPECT_FALSE(fileExists(root_.previousPath()));
}

TEST_F(ServiceRequests, SwapModeNULLRestoresThePreviousFile) {
    writeFile(root_.currentPath(), "after a walk");
    writeFile(root_.previousPath(), "before the walk");
    EXPECT_EQ(run({"ztPListSwapProfile_XPC", "NULL", root_.currentPath(), root_.previousPath()}),
              "ztPListSwapProfile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "before the walk");
    EXPECT_FALSE(fileExists(root_.previousPath()));
}

TEST_F(ServiceRequests, SwapRestoreWithoutPreviousFileKeepsTheCurrentFile) {
    writeFile(root_.currentPath(), "only copy");
    EXPECT_EQ(run({"ztPListSwapProfile_XPC", "0", root_.currentPath(), root_.previousPath()}),
              "ztPListSwapProfile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "only copy");
}

TEST_F(ServiceRequests, SwapModeOneDeletesOnlyThePreviousFile) {
    writeFile(root_.currentPath(), "current");
    writeFile(root_.previousPath(), "previous");
    EXPECT_EQ(run({"ztPListSwapProfile_XPC", " +1", root_.currentPath(), root_.previousPath()}),
              "ztPListSwapProfile_XPC=TRUE\n");
    EXPECT_FALSE(fileExists(root_.previousPath()));
    EXPECT_EQ(readFile(root_.currentPath()), "current");
}

TEST_F(ServiceRequests, ThreeChunksAndTheRenameInstallTheWholeText) {
    writeFile(root_.currentPath(), fullProfileText(1));
    std::string text = fullProfileText(2, 200);
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    std::vector<std::string> chunks = saveChunks(text);
    ASSERT_EQ(chunks.size(), 3u);
    for (const std::string& chunk : chunks) {
        EXPECT_EQ(run({"writeDataToPlistFile_XPC", url, chunk}), "writeDataToPlistFile_XPC=TRUE\n");
        EXPECT_EQ(readFile(root_.currentPath()), fullProfileText(1))
            << "replaced before the rename";
    }
    EXPECT_EQ(run({"writeDataToPlistFileRename_XPC", url}),
              "writeDataToPlistFileRename_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), text);
    EXPECT_FALSE(fileExists(root_.temporaryPath()));
}

TEST_F(ServiceRequests, TheRenameLeavesTheFileTheOwnersAlone) {
    writeFile(root_.currentPath(), fullProfileText(1));
    ASSERT_EQ(chmod(root_.currentPath().c_str(), 0640), 0);
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    for (const std::string& chunk : saveChunks(fullProfileText(2, 200))) {
        EXPECT_EQ(run({"writeDataToPlistFile_XPC", url, chunk}), "writeDataToPlistFile_XPC=TRUE\n");
    }
    EXPECT_EQ(run({"writeDataToPlistFileRename_XPC", url}),
              "writeDataToPlistFileRename_XPC=TRUE\n");
    struct stat info {};
    ASSERT_EQ(stat(root_.currentPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(ServiceRequests, AChunkIsAppendedToTheTemporaryFileOfTheSameSave) {
    writeFile(root_.temporaryPath(), "<?xml version=\"1.0\"?>first part|");
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    EXPECT_EQ(run({"writeDataToPlistFile_XPC", url, "second part"}),
              "writeDataToPlistFile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.temporaryPath()), "<?xml version=\"1.0\"?>first part|second part");
}

TEST_F(ServiceRequests, AChunkThatBeginsADocumentStartsAFreshTemporaryFile) {
    writeFile(root_.temporaryPath(), "<?xml version=\"1.0\"?>left by an interrupted save");
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    EXPECT_EQ(run({"writeDataToPlistFile_XPC", url, "<?xml version=\"1.0\"?><plist>"}),
              "writeDataToPlistFile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.temporaryPath()), "<?xml version=\"1.0\"?><plist>");
}

TEST_F(ServiceRequests, RenameKeepsTheCurrentFileWithoutAGoodTemporaryFile) {
    writeFile(root_.currentPath(), fullProfileText(3));
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    EXPECT_EQ(run({"writeDataToPlistFileRename_XPC", url}),
              "writeDataToPlistFileRename_XPC=FALSE\n");
    EXPECT_EQ(readFile(root_.currentPath()), fullProfileText(3));

    std::string cut = fullProfileText(4);
    writeFile(root_.temporaryPath(), cut.substr(0, cut.size() / 2));
    EXPECT_EQ(run({"writeDataToPlistFileRename_XPC", url}),
              "writeDataToPlistFileRename_XPC=FALSE\n");
    EXPECT_EQ(readFile(root_.currentPath()), fullProfileText(3));

    std::string other =
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>RGB</key>"
        "<dict/></dict></plist>";
    writeFile(root_.temporaryPath(), other);
    EXPECT_EQ(run({"writeDataToPlistFileRename_XPC", url}),
              "writeDataToPlistFileRename_XPC=FALSE\n");
    EXPECT_EQ(readFile(root_.currentPath()), fullProfileText(3));
}

TEST_F(ServiceRequests, WriteDictionaryReplacesTheFileAtTheURL) {
    writeFile(root_.currentPath(), "old");
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    EXPECT_EQ(run({"writeDictionaryToPlistFile_XPC", url, "new text ü"}),
              "writeDictionaryToPlistFile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "new text ü");
}

TEST_F(ServiceRequests, AWriteRemovesTheTemporaryFilesOfAKilledServiceButNoLink) {
    pid_t gone = fork();
    if (gone == 0) {
        _exit(0);
    }
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    std::string current = root_.currentPath();
    std::size_t slash = current.rfind('/');
    std::string stale = current.substr(0, slash + 1) + "." + current.substr(slash + 1) + ".tmp-" +
                        std::to_string(gone) + "-";
    writeFile(stale + "a1", "killed write");
    ASSERT_EQ(symlink("elsewhere", (stale + "a2").c_str()), 0);
    EXPECT_EQ(run({"writeDictionaryToPlistFile_XPC", ServiceRoot::fileURL(current), "new"}),
              "writeDictionaryToPlistFile_XPC=TRUE\n");
    EXPECT_FALSE(fileExists(stale + "a1"));
    struct stat link {};
    EXPECT_EQ(lstat((stale + "a2").c_str(), &link), 0);
}

TEST_F(ServiceRequests, APercentEscapedURLNamesTheSameFile) {
    std::string url = ServiceRoot::fileURL(root_.currentPath());
    std::string escaped = url;
    escaped.replace(escaped.rfind("T48"), 3, "%54%348");
    EXPECT_EQ(run({"writeDictionaryToPlistFile_XPC", escaped, "via escapes"}),
              "writeDictionaryToPlistFile_XPC=TRUE\n");
    EXPECT_EQ(readFile(root_.currentPath()), "via escapes");
}

// The helper's own failures: a message on standard error, no marker, a failing status.
class HelperFailures : public ::testing::Test {
protected:
    ServiceRoot root_;
};

TEST_F(HelperFailures, UnknownCommandOrWrongArgumentsPrintNoMarker) {
    ASSERT_TRUE(root_.startService());
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{"noSuchMethod_XPC", "x"},
                                               {},
                                               {"ztPListExistProfile_XPC"},
                                               {"ztPListSwapProfile_XPC", "2", "a"},
                                               {"mibwalk_XPC", "T48"}}) {
        RunResult result = root_.helper(arguments);
        EXPECT_NE(result.exitStatus, 0);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
    }
}

TEST_F(HelperFailures, NoServiceMeansNoMarker) {
    RunResult result = root_.helper({"ztPListIsAdminProfile_XPC", root_.currentPath()});
    EXPECT_NE(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("cannot reach the service"), std::string::npos) << result.err;
}

// The service's lifecycle: SIGTERM, the socket it binds, and socket activation.
class ServiceLifecycle : public ::testing::Test {
protected:
    ServiceRoot root_;
};

TEST_F(ServiceLifecycle, SigtermEndsTheServiceCleanlyAndRemovesItsSocket) {
    ASSERT_TRUE(root_.startService());
    struct stat folder;
    ASSERT_EQ(stat((root_.root() + "/run").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    int status = root_.service()->stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_FALSE(fileExists(root_.socketPath()));
}

TEST_F(ServiceLifecycle, ASocketLeftByAKilledServiceIsTakenOver) {
    ASSERT_TRUE(root_.startService());
    root_.service()->kill();
    ASSERT_TRUE(fileExists(root_.socketPath()));
    ASSERT_TRUE(root_.startService());
    EXPECT_EQ(root_.helper({"ztPListExistProfile_XPC", root_.currentPath()}).out,
              "ztPListExistProfile_XPC=FALSE\n");
}

TEST_F(ServiceLifecycle, ASecondServiceDoesNotStealALiveSocket) {
    ASSERT_TRUE(root_.startService());
    ChildProcess second({binaryDir() + "/Helper/XPCService/xpcservice"}, root_.environment());
    for (int i = 0; i < 500 && second.running(); ++i) {
        usleep(10000);
    }
    EXPECT_FALSE(second.running());
    EXPECT_EQ(root_.helper({"ztPListExistProfile_XPC", root_.currentPath()}).exitStatus, 0);
}

TEST_F(ServiceLifecycle, SocketActivationServesOnThePassedSocket) {
    std::string socket = root_.socketPath();
    mkdir((root_.root() + "/run").c_str(), 0700);
    ChildProcess activator(
        {"/usr/bin/systemd-socket-activate", "-l", socket, "-E", "T48_ROOT=" + root_.root(),
         binaryDir() + "/Helper/XPCService/xpcservice"},
        {}, root_.root() + "/activate.log");
    for (int i = 0; i < 500 && !fileExists(socket); ++i) {
        usleep(10000);
    }
    writeFile(root_.currentPath(), "x");
    RunResult result = root_.helper({"ztPListExistProfile_XPC", root_.currentPath()});
    EXPECT_EQ(result.out, "ztPListExistProfile_XPC=TRUE\n") << result.err;
    int status = activator.stop();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace t48::testing
