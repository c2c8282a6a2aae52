// t48-printer-sim spoken to directly in snmpd's pass_persist protocol.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "child-process.hpp"

namespace t48::testing {
namespace {

const std::string kEntry = ".1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1";

class PrinterSimTest : public ::testing::Test {
protected:
    RunResult ask(const std::string& rows, const std::string& commands) {
        std::ofstream(dir_.file("rows")) << rows;
        return runProgram({binaryDir() + "/sim/t48-printer-sim", dir_.file("rows")}, {}, commands);
    }
    TempDir dir_;
};

TEST_F(PrinterSimTest, ServesTheTableColumnByColumn) {
    const std::string rows =
        "# index\tsource\tname\tfile\tclass\tcolumn 6\tavailability\n"
        "2\t5\tPress Coated\tPRESS.ICC\t3\t9\t1\n"
        "1\t4\tPhoto\tPHOTO.ICC\t1\t0\t2\n";
    RunResult r = ask(rows, "PING\ngetnext\n" + kEntry + "\ngetnext\n" + kEntry +
                                ".1.1.2\nget\n" + kEntry + ".3.1.2\nget\n" + kEntry +
                                ".3.1.3\ngetnext\n" + kEntry + ".7.1.2\n");
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "PONG\n" + kEntry + ".1.1.1\ninteger\n1\n" +  // first value of the table
                         kEntry + ".2.1.1\ninteger\n4\n" +          // column 2 after column 1
                         kEntry + ".3.1.2\nstring\nPress Coated\n" +
                         "NONE\n"     // no row 3
                         "NONE\n");  // nothing after the last value
}

TEST_F(PrinterSimTest, RefusesSetsAndAnswersBadNamesWithNone) {
    RunResult r = ask("1\t4\tPhoto\tPHOTO.ICC\t1\t0\t2\n",
                      "set\n" + kEntry + ".3.1.1\nstring x\nget\n1.3.x\n");
    EXPECT_EQ(r.out, "not-writable\nNONE\n");
}

TEST_F(PrinterSimTest, ABrokenRowsFileIsRefusedWhole) {
    for (const std::string& rows : {std::string("1\t4\tonly four\tA.ICC\n"),
                                    std::string("0\t4\tzero\tA.ICC\t1\t0\t1\n"),
                                    std::string("x\t4\tname\tA.ICC\t1\t0\t1\n")}) {
        EXPECT_EQ(ask(rows, "PING\n").exitStatus, 2) << rows;
    }
}

}  // namespace
}  // namespace t48::testing
