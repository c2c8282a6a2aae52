// The install rule places the helper at the path the panel starts it from, under the
// filesystem root, inside DESTDIR.

#include <gtest/gtest.h>

#include "service-fixture.hpp"
#include "system-paths.hpp"

namespace t48::testing {
namespace {

TEST(HelperInstall, LandsAtTheHelperPathUnderTheRoot) {
    TempDir destination;
    RunResult install =
        runProgram({T48_CMAKE_COMMAND, "--install", binaryDir(), "--component", "helper"},
                   {"DESTDIR=" + destination.path()});
    ASSERT_EQ(install.exitStatus, 0) << install.out << install.err;
    std::string root = destination.path() + "/" + T48_CONFIGURED_ROOT;
    std::string helper = root + std::string(t48::installedPath(t48::SystemPath::kHelper));
    ASSERT_TRUE(fileExists(helper)) << helper;
    RunResult run = runProgram({helper, "noSuchCommand"});
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find("unknown command"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace t48::testing
