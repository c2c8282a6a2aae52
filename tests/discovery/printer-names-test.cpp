// What t48-mibwalk makes of the names a printer reports and of the file it merges into:
// the real snmpd serving t48-printer-sim on loopback, the real program, real files.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "profile-file-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::discovery {
namespace {

using namespace t48::testing;

constexpr char kAgentAddress[] = "127.0.24.1";
constexpr int kAgentPort = 20241;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class PrinterNamesTest : public testing::ProfileFileTest {
protected:
    // Serves `rows`, walks them with t48-mibwalk for kFileUser and answers its output;
    // the tool exits with `exitStatus` (1: the merge was not saved).
    std::string walk(const std::vector<SimRow>& rows, int exitStatus = 0) {
        SnmpdPrinter printer(agentDir_.path(), kAgentAddress, kAgentPort, rows);
        EXPECT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();
        testing::RunResult run =
            testing::runProgram({testing::binaryDir() + "/tools/t48-mibwalk/t48-mibwalk", "--user",
                                 testing::kFileUser, "--", "snmpwalk", "-Os", "-c", "fennel", "-v",
                                 "1", printer.peer(), testing::kProfileTableEntry},
                                {"T48_ROOT=" + root().path()});
        EXPECT_EQ(run.exitStatus, exitStatus) << run.err;
        return run.out;
    }
    void writeCurrent(const std::string& bytes) { std::ofstream(currentPath()) << bytes; }

    testing::TempDir agentDir_;
};

TEST_F(PrinterNamesTest, ARowWhoseNameXmlForbidsIsNotMerged) {
    ASSERT_EQ(walk({{1, 4, "Odd \xEF\xBF\xBE", "ODD.ICC", 1, 0, 1},
                    {2, 4, "Odd \xEF\xBF\xBF", "ODDER.ICC", 1, 0, 1},
                    {3, 4, "Fine", "FINE.ICC", 1, 0, 1}}),
              "iRet=0\n");
    ProfileFile file = load();
    EXPECT_EQ(findEntry(file.rgb(), "ODD.ICC"), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "ODDER.ICC"), nullptr);
    ASSERT_NE(findEntry(file.rgb(), "FINE.ICC"), nullptr);
    EXPECT_EQ(file.rgb().iNum, 1);
}

TEST_F(PrinterNamesTest, AFileNameOf32BytesOrMoreIsNeverCutIntoAWellShapedOne) {
    const std::string base(27, 'a');
    ASSERT_EQ(walk({{1, 4, "Long", base + ".ICCX", 1, 0, 1},
                    {2, 4, "Longer", base + ".ICC" + std::string(40, 'X'), 1, 0, 1},
                    {3, 4, "Fine", "FINE.ICC", 1, 0, 1}}),
              "iRet=0\n");
    ProfileFile file = load();
    EXPECT_EQ(findEntry(file.rgb(), (base + ".ICC").c_str()), nullptr);
    ASSERT_NE(findEntry(file.rgb(), "FINE.ICC"), nullptr);
    EXPECT_EQ(file.rgb().iNum, 1);
}

TEST_F(PrinterNamesTest, NamesThatAreNotUtf8KeepTheirReadablePart) {
    ASSERT_EQ(walk({{1, 4, "Caf\xE9", "CAFE.ICC", 1, 0, 1},
                    {2, 4, "Euro \xE2\x82", "EURO.ICC", 1, 0, 1},
                    {3, 4, std::string(29, 'n') + "\xE9zz", "EDGE.ICC", 1, 0, 1}}),
              "iRet=0\n");
    ProfileFile file = load();
    ASSERT_EQ(file.rgb().iNum, 3);
    EXPECT_STREQ(findEntry(file.rgb(), "CAFE.ICC")->ProfileName, "Caf\xEF\xBF\xBD");
    EXPECT_STREQ(findEntry(file.rgb(), "EURO.ICC")->ProfileName, "Euro \xEF\xBF\xBD");
    // U+FFFD takes three bytes, which do not fit after 29: the cut falls before it.
    EXPECT_EQ(std::string(findEntry(file.rgb(), "EDGE.ICC")->ProfileName), std::string(29, 'n'));
}

TEST_F(PrinterNamesTest, AFileStartingWithAByteOrderMarkKeepsTheUsersEntries) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("MINE.ICC", 4, store::kStateUserAddedListed, 2, 501));
    save(stored);
    writeCurrent("\xEF\xBB\xBF" + fileBytes(currentPath()));
    ASSERT_EQ(walk({{1, 4, "Printer", "PRINTER.ICC", 1, 0, 1}}), "iRet=0\n");
    ProfileFile file = load();
    ASSERT_NE(findEntry(file.rgb(), "MINE.ICC"), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "MINE.ICC")->iInMenu, store::kStateUserAddedListed);
    EXPECT_NE(findEntry(file.rgb(), "PRINTER.ICC"), nullptr);
}

TEST_F(PrinterNamesTest, AFileThatDoesNotReadIsLeftAsItIs) {
    const std::string damaged = "<?xml version=\"1.0\"?><plist><dict><key>RGB</key>";
    writeCurrent(damaged);
    EXPECT_EQ(walk({{1, 4, "Printer", "PRINTER.ICC", 1, 0, 1}}, 1), "iRet=0\n");
    EXPECT_EQ(fileBytes(currentPath()), damaged);
}

}  // namespace
}  // namespace t48::discovery
