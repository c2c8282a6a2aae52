// Real programs (/bin/sh scripts) started with their output on a pipe.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <fstream>

#include "child-process.hpp"
#include "task.hpp"

namespace t48::task {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TaskResult shell(const std::string& script, std::chrono::milliseconds limit = 20s) {
    return runTask("/bin/sh", {"-c", script}, limit);
}

TEST(RunTask, PassesTheArgumentsAndReturnsOutputAndExitStatus) {
    TaskResult result =
        runTask("/bin/sh", {"-c", "printf '%s|' \"$@\"; exit 3", "sh", "a b", "", "c"}, 10s);
    EXPECT_EQ(result.status, TaskStatus::kExited);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.output, "a b||c|");
}

TEST(RunTask, ReadsOutputFarLargerThanAPipeWhileTheProgramRuns) {
    // 4 MiB: the program would block on a full pipe if nobody read it before its exit.
    TaskResult result = shell("head -c 4194304 /dev/zero | tr '\\0' x; echo END");
    ASSERT_EQ(result.status, TaskStatus::kExited);
    EXPECT_EQ(result.output.size(), 4194304u + 4);
    EXPECT_EQ(result.output.substr(result.output.size() - 4), "END\n");
    EXPECT_FALSE(result.outputCut);
}

TEST(RunTask, KeepsAtMostTheOutputLimitAndStillWaitsForTheExit) {
    TaskResult result = shell("head -c 20000000 /dev/zero; exit 0");
    ASSERT_EQ(result.status, TaskStatus::kExited);
    EXPECT_EQ(result.output.size(), kMaxOutputBytes);
    EXPECT_TRUE(result.outputCut);
}

TEST(RunTask, KillsAProgramThatOutlivesItsTimeLimit) {
    testing::TempDir dir;
    const std::string pidFile = dir.file("pid");
    auto start = Clock::now();
    TaskResult result = shell("echo $$ > " + pidFile + "; echo started; exec sleep 60", 500ms);
    auto took = Clock::now() - start;
    EXPECT_EQ(result.status, TaskStatus::kTimedOut);
    EXPECT_EQ(result.output, "started\n");
    EXPECT_LT(took, 10s);
    pid_t pid = 0;
    std::ifstream(pidFile) >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_NE(kill(pid, 0), 0) << "the program still runs";
}

TEST(RunTask, KillsAProgramThatClosedItsOutputButKeepsRunning) {
    TaskResult result = shell("echo bye; exec >&-; exec sleep 60", 500ms);
    EXPECT_EQ(result.status, TaskStatus::kTimedOut);
    EXPECT_EQ(result.output, "bye\n");
}

TEST(RunTask, DoesNotWaitForAGrandchildThatHoldsThePipe) {
    testing::TempDir dir;
    const std::string pidFile = dir.file("grandchild");
    auto start = Clock::now();
    TaskResult result = shell("sleep 30 & echo $! > " + pidFile + "; echo parent done", 20s);
    EXPECT_EQ(result.status, TaskStatus::kExited);
    EXPECT_EQ(result.output, "parent done\n");
    EXPECT_LT(Clock::now() - start, 10s);
    pid_t grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    ASSERT_GT(grandchild, 0);
    kill(grandchild, SIGKILL);
}

TEST(RunTask, StopsReadingAGrandchildThatKeepsWritingAfterTheExit) {
    testing::TempDir dir;
    const std::string pidFile = dir.file("grandchild");
    TaskResult result = shell("yes & echo $! > " + pidFile + "; sleep 0.2; exit 4", 20s);
    pid_t grandchild = 0;
    std::ifstream(pidFile) >> grandchild;
    if (grandchild > 0) {
        kill(grandchild, SIGKILL);
    }
    EXPECT_EQ(result.status, TaskStatus::kExited);
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_LE(result.output.size(), kMaxOutputBytes);
}

TEST(RunTask, ReportsAProgramEndedByASignal) {
    TaskResult result = shell("echo partial; kill -SEGV $$");
    EXPECT_EQ(result.status, TaskStatus::kSignalled);
    EXPECT_EQ(result.output, "partial\n");
}

TEST(RunTask, StartsNothingForAMissingOrNonExecutableFile) {
    testing::TempDir dir;
    std::ofstream(dir.file("plain")) << "#!/bin/sh\necho hi\n";
    for (const std::string& path : {dir.file("missing"), dir.file("plain"), dir.path()}) {
        TaskResult result = runTask(path, {}, 5s);
        EXPECT_EQ(result.status, TaskStatus::kNotStarted) << path;
        EXPECT_TRUE(result.output.empty()) << path;
    }
}

}  // namespace
}  // namespace t48::task
