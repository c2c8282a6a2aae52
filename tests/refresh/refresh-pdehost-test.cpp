// The profile refresh end to end: pdehost sessions with the real plug-in, the real
// T48Helper installed under a test root (behind a spy that records each run), the real
// xpcservice, and the real snmpd with t48-printer-sim on 127.0.8.1 and .2 at port 161.

#include <gtest/gtest.h>

#include <filesystem>

#include "helper-doubles.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::testing {
namespace {

const std::vector<std::string> kEnglish = {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL="};

bool ranCommand(const std::vector<std::string>& runs, const std::string& line) {
    return std::find(runs.begin(), runs.end(), line) != runs.end();
}
bool ranWalk(const std::vector<std::string>& runs) {
    return std::any_of(runs.begin(), runs.end(),
                       [](const std::string& run) { return run.rfind("mibwalk_XPC", 0) == 0; });
}

// The FileName values of every class in a profile file, read by Python's plistlib.
std::string fileNames(const std::string& path) {
    RunResult result = runProgram({"/usr/bin/python3", "-c",
                                   "import plistlib,sys\nd=plistlib.load(open(sys.argv[1],'rb'))\n"
                                   "print(' '.join(sorted(v for c in ('RGB','SIM','DST') "
                                   "for v in d[c]['FileName'].values() if v)))",
                                   path});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    return result.out;
}

class RefreshSession : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.startService());
        // root's profile file as the service side writes it.
        ASSERT_EQ(
            runProgram({binaryDir() + "/tests/forward/service-side-save", root_.root(), "7", "3"})
                .exitStatus,
            0);
        seed_ = readFile(root_.currentPath());
        ASSERT_FALSE(seed_.empty());
        real_ = moveHelperAside(root_.helperPath());
        installSpy(root_.helperPath(), real_, log());
    }

    // A dialog session: the view is asked for once (and once more per "show").
    RunResult pdehost(const std::string& deviceURI, std::vector<std::string> commands = {}) {
        std::vector<std::string> argv = {binaryDir() + "/host/pdehost",
                                         "--ppd",
                                         sourceDir() + "/PDE/Resources/T48.ppd",
                                         "--printer",
                                         "T48_Queue",
                                         "--device-uri",
                                         deviceURI};
        argv.insert(argv.end(), commands.begin(), commands.end());
        std::vector<std::string> env = root_.environment();
        env.insert(env.end(), kEnglish.begin(), kEnglish.end());
        return runProgram(argv, env);
    }
    std::string log() const { return root_.root() + "/helper-runs.log"; }
    std::vector<std::string> runs() const { return loggedRuns(log()); }

    // The "Management Profile" button's state and the pane shown, from `show`.
    std::string managementButton(const RunResult& shown) {
        RunResult q =
            runProgram({"/usr/bin/python3", "-c",
                        "import json,sys\nd=json.loads(sys.stdin.readline())\n"
                        "print(d['pane'], d['controls']['button_ManageProfile']['enabled'])"},
                       {}, shown.out);
        EXPECT_EQ(q.exitStatus, 0) << q.err << shown.out;
        return q.out;
    }

    ServiceRoot root_;
    std::string seed_;
    std::string real_;
};

TEST_F(RefreshSession, LpdQueueWalksThePrinterAtItsAddressAndMergesItsProfiles) {
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), "127.0.8.1", 161, generatedRows(20));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();

    RunResult session = pdehost("lpd://127.0.8.1:515/queue");
    ASSERT_EQ(session.exitStatus, 0) << session.err;

    // The port was cut: the walk went to the address alone, after the backup.
    const std::vector<std::string> seen = runs();
    auto swap = std::find(seen.begin(), seen.end(), "ztPListSwapProfile_XPC");
    auto walk = std::find(seen.begin(), seen.end(), "mibwalk_XPC 127.0.8.1");
    ASSERT_NE(walk, seen.end()) << "no walk of 127.0.8.1";
    EXPECT_LT(swap, walk);
    EXPECT_FALSE(printer.requestLog().empty()) << "the printer was never asked";

    EXPECT_TRUE(readFile(root_.previousPath()) == seed_)
        << "the previous file is not the current file from before the walk";
    const std::string names = fileNames(root_.currentPath());
    for (const char* profile : {"PROF1.ICC", "PROF2.ICC", "PROF3.ICC", "PROF20.ICC"}) {
        EXPECT_NE(names.find(profile), std::string::npos)
            << profile << " is not in the current file";
    }
}

TEST_F(RefreshSession, AnIPv6LiteralWithAnEmptyPortIsWalkedOverIPv6) {
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), "::1", 161, generatedRows(3));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();
    RunResult session = pdehost("lpd://[0:0::1]:/queue");
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    EXPECT_TRUE(ranCommand(runs(), "mibwalk_XPC udp6:[::1]"));
    EXPECT_NE(fileNames(root_.currentPath()).find("PROF3.ICC"), std::string::npos);
}

TEST_F(RefreshSession, ASaveStoresTheProfileChosenFromTheMenusBuiltBeforeTheRefresh) {
    // The refresh's merge drops the ill-shaped first entry, so A.ICC moves up to where the
    // menu the user chose from shows "my file.icc".
    const std::string entry = R"({"IndexOnDevice": %d, "InMenu": %d, "ProfileClass": 1,
        "FileName": "%s", "ProfileName": "%s", "Location": 4})";
    auto format = [&](int index, int state, const char* file, const char* name) {
        char text[256];
        std::snprintf(text, sizeof text, entry.c_str(), index, state, file, name);
        return std::string(text);
    };
    TempDir json;
    writeFile(json.file("lists.json"),
              R"({"RGB": {"count": 3, "entries": [)" + format(501, 6, "my file.icc", "Mine") + "," +
                  format(1, 4, "A.ICC", "Alpha") + "," + format(2, 4, "B.ICC", "Beta") +
                  R"(]}, "SIM": {"count": 0, "entries": []}, "DST": {"count": 0, "entries": []}})");
    ASSERT_EQ(runProgram({binaryDir() + "/tools/t48-profiles/t48-profiles", "import",
                          json.file("lists.json")},
                         {"T48_ROOT=" + root_.root()})
                  .exitStatus,
              0);
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), "127.0.24.2", 161,
                         {{1, 4, "Alpha", "A.ICC", 1, 0, 1}, {2, 4, "Beta", "B.ICC", 1, 0, 1}});
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();

    // Four PPD choices, then "my file.icc(Mine)", "A.ICC(Alpha)", "B.ICC(Beta)".
    const std::string ticket = json.file("ticket.plist");
    RunResult session = pdehost(
        "lpd://127.0.24.2/queue",
        {"--ticket", ticket, "set", "menu_QuickColor=3", "set", "menu_iRGBSource=5", "summary"});
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    ASSERT_TRUE(ranWalk(runs()));
    EXPECT_NE(session.out.find("\"A.ICC(Alpha)Disk\""), std::string::npos) << session.out;
    RunResult stored = runProgram(
        {"/usr/bin/python3", "-c",
         "import plistlib,sys\ns=plistlib.load(open(sys.argv[1],'rb'))"
         "['ZTImageRGBSourceCustomFilename']\n"
         "print(bytes(((ord(a)<<4)+ord(b)-0x30)%256 for a,b in zip(s[::2],s[1::2])).decode())",
         ticket});
    EXPECT_EQ(stored.out, "/ata1a/data/USfiles/Profiles/A.ICC\n") << stored.err;
}

TEST_F(RefreshSession, EachDialogOpeningRefreshesOnce) {
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), "127.0.8.2", 161, generatedRows(5));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();
    // The host keeps the view it was given: showing the panel's state again walks nothing.
    RunResult first = pdehost("lpd://127.0.8.2/queue", {"show", "show"});
    ASSERT_EQ(first.exitStatus, 0) << first.err;
    std::vector<std::string> seen = runs();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "mibwalk_XPC 127.0.8.2"), 1);

    RunResult second = pdehost("lpd://127.0.8.2/queue", {"show"});
    ASSERT_EQ(second.exitStatus, 0) << second.err;
    seen = runs();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), "mibwalk_XPC 127.0.8.2"), 2);
    // The second opening backed up the first walk's merge before walking again.
    EXPECT_NE(fileNames(root_.previousPath()).find("PROF5.ICC"), std::string::npos);
    EXPECT_EQ(managementButton(second), "color True\n");
}

class RefreshWithoutWalk : public RefreshSession,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(RefreshWithoutWalk, OnlyBacksUpTheProfileFile) {
    RunResult session = pdehost(GetParam());
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    const std::vector<std::string> seen = runs();
    EXPECT_TRUE(ranCommand(seen, "ztPListSwapProfile_XPC"));
    EXPECT_FALSE(ranWalk(seen));
    EXPECT_TRUE(readFile(root_.previousPath()) == seed_);
    EXPECT_TRUE(readFile(root_.currentPath()) == seed_);
}

INSTANTIATE_TEST_SUITE_P(DeviceURIs, RefreshWithoutWalk,
                         ::testing::Values("ipp://127.0.8.2/ipp/print", "socket://127.0.8.2:9100",
                                           "usb://ORVELL/T48?serial=T48X01", "pap://zone/T48",
                                           "lpd:///queue",
                                           // A Bonjour name of three elements: no resolve.
                                           "mdns://T48._pdl-datastream._tcp/"));

TEST_F(RefreshSession, WithoutTheHelperNothingStartsAndManagementIsDisabled) {
    std::filesystem::remove(root_.helperPath());
    std::filesystem::remove(real_);
    RunResult session = pdehost("lpd://127.0.8.1:515/queue", {"show"});
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    EXPECT_EQ(managementButton(session), "color False\n");  // the view was still returned
    EXPECT_TRUE(runs().empty());
    EXPECT_FALSE(fileExists(root_.previousPath()));
    EXPECT_TRUE(readFile(root_.currentPath()) == seed_);
}

}  // namespace
}  // namespace t48::testing
