// The sample PPD and the test PPDs pass the PPD conformance checker without a warning,
// with the colour filter the sample PPD names in a server folder of its own.

#include <gtest/gtest.h>

#include <filesystem>

#include "child-process.hpp"

namespace {

class CupsTestPPD : public ::testing::TestWithParam<const char*> {};

TEST_P(CupsTestPPD, Passes) {
    const std::string path = t48::testing::sourceDir() + "/" + GetParam();
    const t48::testing::TempDir serverBin;
    std::filesystem::create_directory(serverBin.file("filter"));
    std::filesystem::create_symlink(t48::testing::binaryDir() + "/filter/t48-colorfilter",
                                    serverBin.file("filter/t48-colorfilter"));
    const auto run = t48::testing::runProgram({"/usr/bin/cupstestppd", "-W", "translations", path},
                                              {"CUPS_SERVERBIN=" + serverBin.path()});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_NE(run.out.find(": PASS"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("WARN"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Files, CupsTestPPD,
                         ::testing::Values("PDE/Resources/T48.ppd", "tests/data/T48-utf8.ppd",
                                           "tests/data/T48-partial.ppd"));

}  // namespace
