// Crash safety with real processes: saves killed with SIGKILL at random moments, and
// saves whose write, fsync and rename calls fail at random (libfiu's fiu-run), must
// leave a current file that parses and holds either the old or the new content.

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "profile-store-private.hpp"
#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

using t48::testing::binaryDir;
using t48::testing::ChildProcess;
using t48::testing::runProgram;
using t48::testing::TempDir;

constexpr long kUnreadable = -1;
constexpr long kMixed = -2;
constexpr int kRequiredKills = 400;

// The generation every entry of the file names, kUnreadable when the file does not
// parse or is missing, kMixed when entries of different generations are mixed.
long generationIn(const std::string& path) {
    Lists lists;
    if (!exists(path) || detail::readAllFromXml(fileText(path), &lists.rgb(), &lists.sim(),
                                                &lists.dst()) != kStoreOK) {
        return kUnreadable;
    }
    long generation = lists.rgb().litem[0].iIndexOnDevice;
    for (int c = 0; c < kProfileClassCount; ++c) {
        if (lists[c].iNum != kProfileSlots) {
            return kMixed;
        }
        for (int slot = 0; slot < kProfileSlots; ++slot) {
            const ProfileEntry& entry = lists[c].litem[slot];
            std::string name = "g" + std::to_string(generation) + "-" + std::to_string(slot);
            if (entry.iIndexOnDevice != generation || name != entry.FileName) {
                return kMixed;
            }
        }
    }
    return generation;
}

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root_.path().c_str(), 1);
        ASSERT_EQ(setServiceProfilePaths("crash", "T48"), kStoreOK);
        current_ = ZT_PLIST_PROFILE_PATH;
        previous_ = ZT_PLIST_PROFILE_PREV_PATH;
        environment_ = {"T48_ROOT=" + root_.path()};
    }
    void TearDown() override { unsetenv("T48_ROOT"); }

    // The driver; `underFaults` picks the build of it without sanitizers for fiu-run.
    std::vector<std::string> driver(const std::string& command, long generation = 0,
                                    bool underFaults = false) {
        std::string program = underFaults ? "profile-fault-driver" : "profile-crash-driver";
        std::vector<std::string> argv = {binaryDir() + "/tests/profilestore/" + program, command};
        if (command != "backup") {
            argv.push_back(std::to_string(generation));
        }
        return argv;
    }

    // Paths in the preferences folder other than the current and the previous file.
    std::vector<std::string> strayFiles() {
        std::string folder = current_.substr(0, current_.rfind('/'));
        std::vector<std::string> stray;
        DIR* dir = opendir(folder.c_str());
        while (dirent* item = dir != nullptr ? readdir(dir) : nullptr) {
            std::string name = item->d_name;
            std::string path = folder + "/" + name;
            if (name != "." && name != ".." && path != current_ && path != previous_) {
                stray.push_back(path);
            }
        }
        if (dir != nullptr) {
            closedir(dir);
        }
        return stray;
    }

    TempDir root_;
    std::string current_;
    std::string previous_;
    std::vector<std::string> environment_;
};

// The generation of the last "saved K" line of a driver's log; `none` without one.
long lastSaved(const std::string& log, long none) {
    std::size_t at = log.rfind("saved ");
    return at == std::string::npos ? none : std::strtol(log.c_str() + at + 6, nullptr, 10);
}

// Waits until the log holds `text`; false after 60 s.
bool waitForLog(const std::string& path, const std::string& text) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (fileText(path).find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
}

TEST_F(CrashTest, SavesKilledAtRandomMomentsLeaveTheOldOrTheNewFile) {
    ASSERT_EQ(runProgram(driver("save", 0), environment_).exitStatus, 0);
    std::string log = root_.file("driver.log");

    // How long one save takes in a running driver: the kills are spread over two.
    constexpr int kCalibrationSaves = 5;
    std::chrono::microseconds perSave;
    {
        ChildProcess saver(driver("loop", 1), environment_, log);
        ASSERT_TRUE(waitForLog(log, "ready"));
        auto started = std::chrono::steady_clock::now();
        ASSERT_TRUE(waitForLog(log, "saved " + std::to_string(kCalibrationSaves)));
        perSave = std::chrono::duration_cast<std::chrono::microseconds>(
                      std::chrono::steady_clock::now() - started) /
                  kCalibrationSaves;
        saver.kill();
    }
    std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<long long> delay(0, 2 * perSave.count());

    long last = generationIn(current_);
    int newKept = 0;      // the save in progress had renamed its file
    int duringWrite = 0;  // the kill left the temporary file behind
    for (int kill = 0; kill < kRequiredKills; ++kill) {
        long start = 1000 + 1000L * kill;
        unlink(log.c_str());
        ChildProcess saver(driver("loop", start), environment_, log);
        ASSERT_TRUE(waitForLog(log, "ready"));
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        int status = saver.kill();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

        long saved = lastSaved(fileText(log), -1);
        long found = generationIn(current_);
        long older = saved < 0 ? last : saved;
        long newer = saved < 0 ? start : saved + 1;
        ASSERT_TRUE(found == older || found == newer)
            << "kill " << kill << ": the file holds " << found << ", not " << older << " or "
            << newer;
        newKept += found == newer ? 1 : 0;
        for (const std::string& path : strayFiles()) {
            ++duringWrite;
            unlink(path.c_str());
        }
        last = found;
    }
    EXPECT_GT(newKept, 0) << "no kill landed between a rename and its report";
    EXPECT_GT(duringWrite, 0) << "no kill landed while the temporary file was written";
    std::printf("%d saves killed (%lld us a save): %d during the write, %d just after the rename\n",
                kRequiredKills, static_cast<long long>(perSave.count()), duringWrite, newKept);
}

// The fault points of libfiu's POSIX preload library (see fiu-utils' function list).
const char* const kFaults[] = {
    "enable_random name=posix/io/rw/write,probability=0.15",
    "enable_random name=posix/io/rw/write/reduce,probability=0.3",
    "enable_random name=posix/io/sync/fsync,probability=0.15",
    "enable_random name=posix/io/dir/rename,probability=0.15",
};
constexpr int kFaultRuns = 200;

TEST_F(CrashTest, SavesAndBackupsWithFailingSystemCallsKeepAFileThatParses) {
    ASSERT_EQ(runProgram(driver("save", 0), environment_).exitStatus, 0);
    ASSERT_EQ(runProgram(driver("backup"), environment_).exitStatus, 0);
    long last = 0;
    long lastBackup = 0;
    int failed = 0;
    int succeeded = 0;
    for (long generation = 1; generation <= kFaultRuns; ++generation) {
        bool backup = generation % 4 == 0;
        std::vector<std::string> argv = {"/usr/bin/fiu-run", "-x", "-f", ""};  // no control pipes
        for (const char* fault : kFaults) {
            argv.push_back("-c");
            argv.push_back(fault);
        }
        for (const auto& arg : driver(backup ? "backup" : "save", generation, true)) {
            argv.push_back(arg);
        }
        auto result = runProgram(argv, environment_);
        ASSERT_TRUE(result.exitStatus == 0 || result.exitStatus == 1)
            << "run " << generation << ": " << result.exitStatus << " " << result.err;
        ++(result.exitStatus == 0 ? succeeded : failed);
        if (backup) {
            long found = generationIn(previous_);
            ASSERT_TRUE(found == lastBackup || found == last) << "backup holds " << found;
            ASSERT_TRUE(result.exitStatus != 0 || found == last);
            lastBackup = found;
        } else {
            long found = generationIn(current_);
            ASSERT_TRUE(found == last || found == generation)
                << "after save " << generation << " the file holds " << found;
            ASSERT_TRUE(result.exitStatus != 0 || found == generation)
                << "save " << generation << " reported success";
            last = found;
        }
        ASSERT_EQ(strayFiles(), std::vector<std::string>{}) << "left after run " << generation;
    }
    EXPECT_GT(failed, kFaultRuns / 10);
    EXPECT_GT(succeeded, kFaultRuns / 10);
    std::printf("%d runs under faults: %d failed, %d succeeded\n", kFaultRuns, failed, succeeded);
}

}  // namespace
}  // namespace t48::store::testing
