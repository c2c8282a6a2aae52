// The window over an LPD queue whose printer answers: pdehost with the real plug-in, the
// real xpcservice and T48Helper, and the real snmpd with t48-printer-sim on 127.0.9.41
// port 161. The view's refresh walks the printer and merges its profiles in as confirmed
// entries; the window shows them with the printer icon, ticking one lists it in the
// menus, and the saved file holds the tick.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "service-fixture.hpp"
#include "snmpd-printer.hpp"
#include "system-paths.hpp"

namespace t48::testing {
namespace {

std::string query(const std::string& output, const std::string& expression) {
    const RunResult result = runProgram(
        {"/usr/bin/python3", "-c",
         "import json,sys\ndocs=[json.loads(l) for l in sys.stdin.read().splitlines()]\nprint(" +
             expression + ")"},
        {}, output);
    EXPECT_EQ(result.exitStatus, 0) << result.err << "\n" << output;
    return result.out.substr(0, result.out.find_last_not_of('\n') + 1);
}

TEST(WalkedQueueWindow, ConfirmedProfilesShowTheIconAndATickReachesFileAndMenus) {
    ServiceRoot root;
    ASSERT_TRUE(root.startService());
    const std::filesystem::path icon =
        root.root() + std::string(t48::installedPath(t48::SystemPath::kPrinterIcon));
    std::filesystem::create_directories(icon.parent_path());
    std::ofstream(icon) << "icns";
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), "127.0.9.41", 161, generatedRows(3));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();

    std::vector<std::string> environment = root.environment();
    environment.insert(environment.end(), {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL="});
    const RunResult run =
        runProgram({binaryDir() + "/host/pdehost", "--printer", "T48_Office", "--device-uri",
                    "lpd://127.0.9.41/queue", "click", "button_ManageProfile", "window", "tick",
                    "0", "window-ok", "show"},
                   environment);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[(r['icon'], r['inmenu'], r['filename']) for r in docs[0]['rows']]"),
              "[(True, 0, 'PROF1.ICC'), (True, 0, 'PROF2.ICC')]");
    EXPECT_NE(query(run.out, "docs[1]['controls']['menu_iRGBSource']['items']").find("PROF1.ICC"),
              std::string::npos);
    const RunResult stored =
        runProgram({"/usr/bin/python3", "-c",
                    "import plistlib,sys\nd=plistlib.load(open(sys.argv[1],'rb'))\n"
                    "print([(d['RGB']['FileName'][k], d['RGB']['InMenu']['InMenu'+k[8:]]) "
                    "for k in sorted(d['RGB']['FileName']) if d['RGB']['FileName'][k]])",
                    root.currentPath()});
    EXPECT_EQ(stored.out, "[('PROF1.ICC', 4), ('PROF2.ICC', 2)]\n") << stored.err;
}

}  // namespace
}  // namespace t48::testing
