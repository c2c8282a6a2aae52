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
    std::string xml;
    Lists lists;
    if (readWholeFile(path, &xml) != kStoreOK ||
        detail::readAllFromXml(xml, &lists.rgb(), &lists.sim(), &lists.dst()) != kStoreOK) {
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

    std::vector<std::string> driver(const std::string& command, long generation = 0) {
        std::vector<std::string> argv = {binaryDir() + "/tests/profilestore/profile-crash-driver",
                                         command};
        if (command == "save") {
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

TEST_F(CrashTest, SavesKilledAtRandomMomentsLeaveTheOldOrTheNewFile) {
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runProgram(driver("save", 0), environment_).exitStatus, 0);
    auto saveTime = std::chrono::steady_clock::now() - started;
    ASSERT_EQ(generationIn(current_), 0);

    std::mt19937 random(std::random_device{}());
    // Most of a save's run is start-up and building the text; kills are spread over the
    // later part of the run, where the file work happens, and a little past its end.
    long long runMicros = std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count();
    std::uniform_int_distribution<long long> delay(runMicros * 2 / 5, runMicros * 6 / 5);
    long last = 0;
    int kills = 0;
    int oldKept = 0;
    int newKept = 0;
    int duringWrite = 0;  // kills that left the temporary file behind
    for (long generation = 1; kills < kRequiredKills && generation < 10 * kRequiredKills;
         ++generation) {
        ChildProcess save(driver("save", generation), environment_);
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        int status = save.kill();
        long found = generationIn(current_);
        ASSERT_TRUE(found == last || found == generation)
            << "after save " << generation << " the file holds " << found << ", not " << last
            << " or " << generation;
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) {
            ++kills;
            for (const std::string& path : strayFiles()) {
                ++duringWrite;
                unlink(path.c_str());
            }
            ++(found == generation ? newKept : oldKept);
        } else {
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
            ASSERT_EQ(found, generation) << "a save that reported success";
        }
        last = found;
    }
    EXPECT_GE(kills, kRequiredKills);
    EXPECT_GT(oldKept, 0) << "no kill landed before a rename";
    EXPECT_GT(newKept, 0) << "no kill landed after a rename";
    EXPECT_GT(duringWrite, 0) << "no kill landed while the temporary file was written";
    std::printf("%d saves killed: %d kept the old file (%d during the write), %d the new one\n",
                kills, oldKept, duringWrite, newKept);
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
    std::vector<std::string> env = environment_;
    // The preload libraries come before the sanitizer runtime in an ASan build.
    const char* asan = std::getenv("ASAN_OPTIONS");
    env.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") +
                  ":verify_asan_link_order=0");
    long last = 0;
    long lastBackup = 0;
    int failed = 0;
    int succeeded = 0;
    for (long generation = 1; generation <= kFaultRuns; ++generation) {
        bool backup = generation % 4 == 0;
        std::vector<std::string> argv = {"/usr/bin/fiu-run", "-x"};
        for (const char* fault : kFaults) {
            argv.push_back("-c");
            argv.push_back(fault);
        }
        for (const auto& arg : backup ? driver("backup") : driver("save", generation)) {
            argv.push_back(arg);
        }
        auto result = runProgram(argv, env);
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
