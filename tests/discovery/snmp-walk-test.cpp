// The walk against the real snmpd serving a simulated T48 printer on loopback.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "profile-file-fixture.hpp"
#include "snmp-walk.hpp"
#include "snmpd-printer.hpp"
#include "spool-list.hpp"
#include "system-paths.hpp"

namespace t48::discovery {
namespace {

using testing::append;
using testing::countEntries;
using testing::findEntry;
using testing::makeEntry;
using testing::ProfileFile;
using testing::SimRow;
using testing::SnmpdPrinter;

// Loopback addresses and ports of this program; other test programs use others.
constexpr char kAgentAddress[] = "127.0.6.11";
constexpr int kAgentPort = 16611;
constexpr char kSilentPeer[] = "127.0.6.12:16612";  // nothing listens here

class SnmpWalkTest : public testing::ProfileFileTest {
protected:
    void startPrinter(const std::vector<SimRow>& rows) {
        printer_ =
            std::make_unique<SnmpdPrinter>(agentDir_.path(), kAgentAddress, kAgentPort, rows);
        ASSERT_TRUE(printer_->started()) << "snmpd did not come up on " << printer_->peer();
    }
    // The panel's argument list, aimed at `peer`.
    int walk(const std::string& peer, std::vector<std::string> extra = {},
             const std::string& community = "fennel") {
        std::vector<std::string> args = {"snmpwalk", "-Os", "-c", community, "-v", "1"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(peer);
        args.push_back(testing::kProfileTableEntry);
        std::vector<const char*> argv;
        for (const std::string& a : args) {
            argv.push_back(a.c_str());
        }
        return mib_walk(static_cast<int>(argv.size()), argv.data());
    }
    SnmpdPrinter& printer() { return *printer_; }

    testing::TempDir agentDir_;
    std::unique_ptr<SnmpdPrinter> printer_;
};

TEST_F(SnmpWalkTest, SpoolsEveryRowAndMergesThemIntoTheFile) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("GONE.ICC", 4, store::kStatePrinterConfirmedListed, 1, 9));
    append(stored.rgb(), makeEntry("USER.ICC", 4, store::kStateUserAdded, 2, 501));
    save(stored);
    startPrinter({
        {1, 4, "Photo RGB", "PROFILE1.ICC", 1, 0, 1},
        {2, 5, "Press", "CMYK1.ICC", 3, 12, 2},
        {3, 6, "Elsewhere", "OTHER.ICC", 1, 0, 1},
        {4, 4, "Spaced", "my file.icc", 1, 0, 1},
        {5, 4, "Twin one", "TWIN.ICC", 1, 0, 1},
        {6, 4, "Twin two", "TWIN.ICC", 2, 0, 1},
    });

    ASSERT_EQ(walk(printer().peer()), kWalkComplete);

    ASSERT_EQ(PlistForSpool.iNum, 6);
    EXPECT_STREQ(PlistForSpool.litem[1].FileName, "CMYK1.ICC");
    EXPECT_STREQ(PlistForSpool.litem[1].ProfileName, "Press");
    EXPECT_EQ(PlistForSpool.litem[1].iLocation, 5);
    EXPECT_EQ(PlistForSpool.litem[1].iProfileClass, 3);
    EXPECT_EQ(PlistForSpool.litem[1].iDriver, 2);
    EXPECT_EQ(PlistForSpool.litem[1].iIndexOnDevice, 2);

    ProfileFile file = load();
    ASSERT_NE(findEntry(file.rgb(), "PROFILE1.ICC"), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "PROFILE1.ICC")->iInMenu, store::kStatePrinterConfirmed);
    EXPECT_STREQ(findEntry(file.rgb(), "PROFILE1.ICC")->ProfileName, "Photo RGB");
    ASSERT_NE(findEntry(file.sim(), "CMYK1.ICC", 5), nullptr);
    ASSERT_NE(findEntry(file.dst(), "CMYK1.ICC", 5), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "GONE.ICC")->iInMenu, store::kStateUserAddedListed);
    EXPECT_EQ(findEntry(file.rgb(), "USER.ICC")->iInMenu, store::kStateUserAdded);
    EXPECT_EQ(findEntry(file.rgb(), "OTHER.ICC", 6), nullptr);
    EXPECT_EQ(countEntries(file.rgb(), "my file.icc"), 0);
    EXPECT_EQ(countEntries(file.rgb(), "TWIN.ICC"), 1);
    EXPECT_EQ(file.rgb().iNum, 4);
}

TEST_F(SnmpWalkTest, LongAndNonAsciiPrinterStringsAreCutAtAWholeCharacter) {
    // 30 bytes, then a two-byte character across the 31-byte limit.
    const std::string name = std::string(30, 'n') + "\xC3\x9C" + "tail";
    startPrinter({{1, 4, name, "LONG.ICC", 1, 0, 1}});
    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    EXPECT_EQ(std::string(PlistForSpool.litem[0].ProfileName), std::string(30, 'n'));
    EXPECT_EQ(findEntry(load().rgb(), "LONG.ICC")->ProfileName, std::string(30, 'n'));
}

TEST_F(SnmpWalkTest, FiveHundredRowsAreAllSpooledAndMerged) {
    startPrinter(testing::generatedRows(500));
    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 500);
    EXPECT_STREQ(PlistForSpool.litem[499].FileName, "PROF500.ICC");
    ProfileFile file = load();
    EXPECT_EQ(file.rgb().iNum, 334);  // classes 1 and 2
    EXPECT_EQ(file.sim().iNum, 166);  // class 3
    EXPECT_EQ(file.dst().iNum, 166);
    const std::string requests = printer().requestLog();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), '\n'), 500 * 7 + 1)
        << "one GET-NEXT per value and one past the table";
}

TEST_F(SnmpWalkTest, ATableOfMoreColumnsWalksToItsEnd) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("PROF1.ICC", 4, store::kStatePrinterConfirmed, 1, 1));
    save(stored);
    std::vector<SimRow> rows = testing::generatedRows(400);
    for (SimRow& row : rows) {
        row.moreColumns.assign(6, 0);  // 13 columns: 5200 values
    }
    startPrinter(rows);
    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 400);
    EXPECT_EQ(findEntry(load().rgb(), "PROF1.ICC")->iInMenu, store::kStatePrinterConfirmed)
        << "found again by a complete walk, not dropped as by a failed one";
}

TEST_F(SnmpWalkTest, IllShapedEntriesBeforeAProfileNeverGetItListedTwice) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("bad name.icc", 4, store::kStateUserAddedListed, 2, 501));
    append(stored.rgb(), makeEntry("R.ICC", 4, store::kStatePrinterConfirmedListed, 1, 1));
    append(stored.sim(), makeEntry("my file.icc", 4, store::kStatePrinterConfirmedListed, 3, 2));
    append(stored.sim(), makeEntry("X.ICC", 4, store::kStatePrinterConfirmedListed, 3, 3));
    append(stored.dst(), makeEntry("bad name.icc", 4, store::kStateUserAddedListed, 3, 502));
    append(stored.dst(), makeEntry("X.ICC", 4, store::kStatePrinterConfirmedListed, 3, 3));
    save(stored);
    startPrinter({{1, 4, "R", "R.ICC", 1, 0, 1}, {2, 4, "X", "X.ICC", 3, 0, 1}});

    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    ProfileFile file = load();
    for (const auto& [list, name] :
         {std::pair{&file.rgb(), "R.ICC"}, std::pair{&file.sim(), "X.ICC"},
          std::pair{&file.dst(), "X.ICC"}}) {
        EXPECT_EQ(list->iNum, 1);
        EXPECT_EQ(countEntries(*list, name), 1) << name;
        ASSERT_NE(findEntry(*list, name), nullptr);
        EXPECT_EQ(findEntry(*list, name)->iInMenu, store::kStatePrinterConfirmedListed);
    }
}

TEST_F(SnmpWalkTest, ANewProfileTakesTheSlotTheMergeFreedInTheWindowsOrder) {
    ProfileFile stored{};
    for (store::ProfileList* list : {&stored.sim(), &stored.dst()}) {
        append(*list, makeEntry("X.ICC", 4, store::kStatePrinterConfirmedListed, 3, 1));
        append(*list, makeEntry("bad name.icc", 4, store::kStateUserAddedListed, 3, 501));
        append(*list, makeEntry("U.ICC", 4, store::kStateUserAddedListed, 3, 502));
    }
    save(stored);
    startPrinter({{1, 4, "X", "X.ICC", 3, 0, 1}, {2, 4, "New", "NEW.ICC", 3, 0, 1}});

    const testing::RunResult run =
        testing::runProgram({testing::binaryDir() + "/tools/t48-mibwalk/t48-mibwalk", "--user",
                             testing::kFileUser, "--model", "T48", "--", "snmpwalk", "-Os", "-c",
                             "fennel", "-v", "1", printer().peer(), testing::kProfileTableEntry},
                            {"T48_ROOT=" + root().path()});
    ASSERT_EQ(run.out, "iRet=0\n") << run.err;
    ProfileFile file = load();
    for (store::ProfileList* list : {&file.sim(), &file.dst()}) {
        ASSERT_EQ(list->iNum, 3);
        EXPECT_STREQ(list->litem[0].FileName, "X.ICC");
        EXPECT_STREQ(list->litem[1].FileName, "NEW.ICC") << "in the ill-shaped entry's slot";
        EXPECT_EQ(list->litem[1].iInMenu, store::kStatePrinterConfirmed);
        EXPECT_STREQ(list->litem[2].FileName, "U.ICC");
    }
}

TEST_F(SnmpWalkTest, EmptyTableCompletesAndAsksForTheRootOnce) {
    startPrinter({});
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("OLD.ICC", 4, store::kStatePrinterConfirmed, 1, 4));
    save(stored);

    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 0);
    const std::string requests = printer().requestLog();
    EXPECT_EQ(requests,
              "getnext .1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1\n"
              "get .1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1\n");
    EXPECT_EQ(findEntry(load().rgb(), "OLD.ICC")->iInMenu, store::kStatePrinterUnconfirmed)
        << "a successful walk that did not find it";
}

TEST_F(SnmpWalkTest, AgentThatIsNotRunningFailsAndDropsHiddenPrinterEntries) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("S1.ICC", 4, store::kStatePrinterUnconfirmed, 1, 1));
    append(stored.rgb(), makeEntry("S2.ICC", 4, store::kStatePrinterConfirmed, 1, 2));
    append(stored.rgb(), makeEntry("S4.ICC", 4, store::kStatePrinterConfirmedListed, 1, 3));
    append(stored.rgb(), makeEntry("S5.ICC", 4, store::kStateUserAdded, 2, 504));
    append(stored.rgb(), makeEntry("S6.ICC", 4, store::kStateUserAddedListed, 2, 505));
    save(stored);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(walk(kSilentPeer), kWalkFailed);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // One second and one retry, not net-snmp's own five retries (six seconds).
    EXPECT_LT(elapsed, std::chrono::milliseconds(5000));

    EXPECT_EQ(PlistForSpool.iNum, 0);
    ProfileFile file = load();
    EXPECT_EQ(findEntry(file.rgb(), "S1.ICC"), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "S2.ICC"), nullptr);
    EXPECT_EQ(findEntry(file.rgb(), "S4.ICC")->iInMenu, store::kStateUserAddedListed);
    EXPECT_EQ(findEntry(file.rgb(), "S5.ICC")->iInMenu, store::kStateUserAdded);
    EXPECT_EQ(findEntry(file.rgb(), "S6.ICC")->iInMenu, store::kStateUserAddedListed);
}

TEST_F(SnmpWalkTest, ArgumentErrorsEndTheWalkAndStillMerge) {
    ProfileFile stored{};
    append(stored.rgb(), makeEntry("S2.ICC", 4, store::kStatePrinterConfirmed, 1, 2));
    save(stored);
    const char* usage[] = {"snmpwalk", "-v", "9", "127.0.6.13"};
    EXPECT_EQ(mib_walk(4, usage), kWalkUsage);
    EXPECT_EQ(findEntry(load().rgb(), "S2.ICC"), nullptr) << "merged as a failed walk";

    const char* version[] = {"snmpwalk", "-V"};
    EXPECT_EQ(mib_walk(2, version), kWalkInfoOnly);
    const char* badRoot[] = {"snmpwalk", "-c", "fennel", "-v", "1", "127.0.6.13", "1.3.x.y"};
    EXPECT_EQ(mib_walk(7, badRoot), kWalkFailed);
    const char* noPeer[] = {"snmpwalk", "-c", "fennel"};
    EXPECT_EQ(mib_walk(3, noPeer), kWalkUsage);
}

TEST_F(SnmpWalkTest, SeveralWalksInOneProcessEachStartClean) {
    startPrinter(testing::generatedRows(4));
    // Options that net-snmp keeps as process state: -C letters toggle, -O letters set.
    ASSERT_EQ(walk(printer().peer(), {"-Cc", "-Oq"}), kWalkComplete);
    EXPECT_EQ(PlistForSpool.iNum, 4);
    EXPECT_EQ(netsnmp_ds_get_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_QUICK_PRINT), 1);
    EXPECT_EQ(walk(printer().peer(), {"-t", "0.2", "-r", "0"}, "wrong"), kWalkFailed)
        << "a community the agent does not know";
    EXPECT_EQ(PlistForSpool.iNum, 0);
    EXPECT_EQ(netsnmp_ds_get_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_QUICK_PRINT), 0);
    ASSERT_EQ(walk(printer().peer(), {"-Cc"}), kWalkComplete);
    EXPECT_EQ(netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, 3), 1)
        << "-Cc of this walk must set the flag, not toggle the previous one off";
    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    EXPECT_EQ(netsnmp_ds_get_boolean(NETSNMP_DS_APPLICATION_ID, 3), 0);
    EXPECT_EQ(PlistForSpool.iNum, 4);
    EXPECT_EQ(load().rgb().iNum, 3);
}

// "OID value" lines of net-snmp's own snmpwalk, numeric names, values without type.
std::map<std::string, std::string> snmpwalkValues(const std::string& peer) {
    testing::RunResult r = testing::runProgram({"/usr/bin/snmpwalk", "-v1", "-c", "fennel", "-On",
                                                "-Oq", "-Oe", peer, testing::kProfileTableEntry},
                                               {"MIBS=", "MIBDIRS=/nonexistent"});
    std::map<std::string, std::string> values;
    std::istringstream lines(r.out);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t space = line.find(' ');
        std::string value = line.substr(space + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        values[line.substr(0, space)] = value;
    }
    return values;
}

TEST_F(SnmpWalkTest, SpoolsTheSameVariablesSnmpwalkPrints) {
    std::vector<SimRow> rows = testing::generatedRows(12);
    rows[3].sourceType = 5;
    rows[7].profileName = "With spaces & marks!";
    startPrinter(rows);
    ASSERT_EQ(walk(printer().peer()), kWalkComplete);
    const std::map<std::string, std::string> printed = snmpwalkValues(printer().peer());
    ASSERT_EQ(printed.size(), rows.size() * 7);

    std::map<std::string, std::string> spooled;
    const std::string entry = std::string(".") + testing::kProfileTableEntry;
    for (int r = 1; r <= PlistForSpool.iNum; ++r) {
        const store::ProfileEntry& e = PlistForSpool.litem[r - 1];
        auto name = [&](int column) {
            return entry + "." + std::to_string(column) + ".1." + std::to_string(r);
        };
        spooled[name(1)] = std::to_string(e.iIndexOnDevice);
        spooled[name(2)] = std::to_string(e.iLocation);
        spooled[name(3)] = e.ProfileName;
        spooled[name(4)] = e.FileName;
        spooled[name(5)] = std::to_string(e.iProfileClass);
        spooled[name(6)] = printed.count(name(6)) ? printed.at(name(6)) : "";  // not stored
        spooled[name(7)] = std::to_string(e.iDriver);
    }
    EXPECT_EQ(spooled, printed);
}

TEST_F(SnmpWalkTest, CommandLineToolWalksAndPrintsTheResult) {
    startPrinter(testing::generatedRows(3));
    const std::string tool = testing::binaryDir() + "/tools/t48-mibwalk/t48-mibwalk";
    const std::vector<std::string> env = {"T48_ROOT=" + root().path()};
    testing::RunResult ok = testing::runProgram(
        {tool, "--user", testing::kFileUser, "--model", "T48", "--", "snmpwalk", "-Os", "-c",
         "fennel", "-v", "1", printer().peer(), testing::kProfileTableEntry},
        env);
    EXPECT_EQ(ok.exitStatus, 0);
    EXPECT_EQ(ok.out, "iRet=0\n");
    EXPECT_TRUE(std::filesystem::exists(
        root().path() + std::string(t48::installedPath(t48::SystemPath::kPreferencesFolder)) + "/" +
        testing::kFileUser + "-T48-profile.plist"));

    testing::RunResult failed = testing::runProgram(
        {tool, "--user", testing::kFileUser, "--", "snmpwalk", "-c", "fennel", "-v", "1", "-t",
         "0.1", "-r", "0", kSilentPeer, testing::kProfileTableEntry},
        env);
    EXPECT_EQ(failed.exitStatus, 0) << "the walk ran";
    EXPECT_EQ(failed.out, "iRet=1\n");

    EXPECT_EQ(testing::runProgram({tool, "--user", testing::kFileUser}, env).exitStatus, 2);
    EXPECT_EQ(testing::runProgram({tool, "--colour", "x", "--", "snmpwalk"}, env).exitStatus, 2);
    EXPECT_EQ(testing::runProgram({tool, "--user", "../x", "--", "snmpwalk"}, env).exitStatus, 2);
}

}  // namespace
}  // namespace t48::discovery
