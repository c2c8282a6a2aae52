// Helpers that misbehave, as test doubles at the helper's path (the real T48Helper
// cannot be made to do any of this): none may hang the panel or pass for a success.

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>

#include "child-process.hpp"
#include "helper-doubles.hpp"
#include "helper-request.hpp"
#include "profile-store.hpp"
#include "test-profile-lists.hpp"

namespace t48::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct FaultCase {
    const char* name;
    const char* script;  // body of the double; "" for no helper at all
    int writeTest;       // what ZTPListIsAdminProfile must answer
};

class FaultyHelper : public ::testing::TestWithParam<FaultCase> {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root_.path().c_str(), 1);
        store::panel::setHelperTimeLimit(1500ms);
        const std::string path = store::panel::helperPath();
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        if (*GetParam().script != '\0') {
            installScript(path, "echo $$ >> '" + pids() + "'\n" + GetParam().script);
        }
    }
    void TearDown() override {
        store::panel::setHelperTimeLimit(store::panel::kHelperTimeLimit);
        unsetenv("T48_ROOT");
        // Every double started must be gone (killed by the panel or exited).
        std::ifstream in(pids());
        for (pid_t pid = 0; in >> pid;) {
            EXPECT_NE(kill(pid, 0), 0) << "helper double " << pid << " still runs";
            kill(pid, SIGKILL);
        }
    }
    std::string pids() const { return root_.file("helper-pids"); }
    int started() const {
        std::ifstream in(pids());
        int count = 0;
        for (std::string line; std::getline(in, line);) {
            ++count;
        }
        return count;
    }

    TempDir root_;
};

TEST_P(FaultyHelper, AnswersWithoutHangingAndWithoutFalseSuccess) {
    const auto start = Clock::now();
    EXPECT_EQ(store::ZTPListIsAdminProfile(), GetParam().writeTest);
    EXPECT_LT(Clock::now() - start, 15s);
    if (*GetParam().script == '\0') {
        EXPECT_EQ(started(), 0);
    }
}

// The doubles that fail the write test.
class FailingHelper : public FaultyHelper {};

TEST_P(FailingHelper, SaveFailsAndRemovalAndExistenceAnswerZero) {
    auto lists = std::make_unique<store::ProfileList[]>(store::kProfileClassCount);
    fillProfileLists(1, lists.get());
    const auto start = Clock::now();
    EXPECT_EQ(store::ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), store::kStoreFailed);
    EXPECT_EQ(store::ZTPListExistProfile(), 0);
    EXPECT_EQ(store::ZTPListRemove(store::kRemoveCurrent), 0);
    store::ZTPListSwapProfile(store::kSwapBackupCurrent);
    EXPECT_LT(Clock::now() - start, 30s);
    // Each operation stopped after its failed write test: one run each, none for a
    // missing helper.
    EXPECT_EQ(started(), *GetParam().script == '\0' ? 0 : 4);
}

const FaultCase kFailingDoubles[] = {
    FaultCase{"Missing", "", 0},
    FaultCase{"PrintsOneMebibyteWithoutMarker", "head -c 1048576 /dev/zero | tr '\\0' x\n", 0},
    FaultCase{"NeverExits", "echo \"$1=TRUE\"\nexec sleep 600\n", 0},
    FaultCase{"PrintsTheMarkerAndExitsWithAnError", "echo \"$1=TRUE\"\nexit 69\n", 0},
    FaultCase{"PrintsTheMarkerAndCrashes", "echo \"$1=TRUE\"\nkill -ABRT $$\n", 0},
    FaultCase{"PrintsAnotherCommandsMarker", "echo \"ztPListExistProfile_XPC=TRUE\"\n", 0}};
// The whole output is read: a marker after 1 MiB is found.
const FaultCase kTruthfulAfterMuchOutput = {
    "PrintsOneMebibyteThenTheMarker", "head -c 1048576 /dev/zero | tr '\\0' x\necho \"$1=TRUE\"\n",
    1};

auto caseName = [](const auto& info) { return std::string(info.param.name); };

INSTANTIATE_TEST_SUITE_P(Doubles, FaultyHelper, ::testing::Values(kTruthfulAfterMuchOutput),
                         caseName);
INSTANTIATE_TEST_SUITE_P(FailingDoubles, FaultyHelper, ::testing::ValuesIn(kFailingDoubles),
                         caseName);
INSTANTIATE_TEST_SUITE_P(Doubles, FailingHelper, ::testing::ValuesIn(kFailingDoubles), caseName);

}  // namespace
}  // namespace t48::testing
