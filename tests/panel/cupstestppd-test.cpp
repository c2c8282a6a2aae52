// The sample PPD and the test PPDs pass the PPD conformance checker.

#include <gtest/gtest.h>

#include "child-process.hpp"

namespace {

class CupsTestPPD : public ::testing::TestWithParam<const char*> {};

TEST_P(CupsTestPPD, Passes) {
    const std::string path = t48::testing::sourceDir() + "/" + GetParam();
    const auto run = t48::testing::runProgram({"/usr/bin/cupstestppd", "-W", "translations", path});
    EXPECT_EQ(run.exitStatus, 0) << run.out << run.err;
    EXPECT_NE(run.out.find(": PASS"), std::string::npos) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Files, CupsTestPPD,
                         ::testing::Values("PDE/Resources/T48.ppd", "tests/data/T48-utf8.ppd",
                                           "tests/data/T48-partial.ppd"));

}  // namespace
