// The profile management window through pdehost with the real xpcservice and T48Helper
// under a test root: a profile file imported by the store's tool, the window driven by
// pdehost's window commands, the output and the saved file read back by Python's json
// module and the tool.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pdehost-run.hpp"
#include "service-fixture.hpp"
#include "system-paths.hpp"

namespace {

using t48::testing::binaryDir;
using t48::testing::pdehost;
using t48::testing::query;
using t48::testing::runProgram;
using t48::testing::RunResult;
using t48::testing::ServiceRoot;

// RGB: a confirmed entry not in the menus, a user entry in them, a user entry on the card.
// SIM: one user entry. DST: a confirmed listed entry.
const char* const kProfiles = R"({
  "RGB": {"count": 3, "entries": [
    {"IndexOnDevice": 1, "InMenu": 2, "ProfileClass": 1, "FileName": "PRINTER.ICC",
     "ProfileName": "Printer", "Location": 4},
    {"IndexOnDevice": 501, "InMenu": 6, "ProfileClass": 2, "FileName": "MINE.ICC",
     "ProfileName": "Mine", "Location": 4},
    {"IndexOnDevice": 502, "InMenu": 5, "ProfileClass": 2, "FileName": "CARD.ICC",
     "ProfileName": "Card one", "Location": 5}]},
  "SIM": {"count": 1, "entries": [
    {"IndexOnDevice": 500, "InMenu": 6, "ProfileClass": 2, "FileName": "SIM.ICC",
     "ProfileName": "Sim", "Location": 4}]},
  "DST": {"count": 1, "entries": [
    {"IndexOnDevice": 7, "InMenu": 4, "ProfileClass": 1, "FileName": "DEST.ICC",
     "ProfileName": "Dest", "Location": 5}]}
})";

// A queue the panel never walks and that uses the plain store operations: the file
// stays as imported until the window saves it. (An LPD or Bonjour queue would be
// refreshed from its printer first each time pdehost asks for the panel's view.)
const char* const kNetworkQueue = "ipp://127.0.0.1/printers/t48";

class PdeHostWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(service.startService());
        const std::string file = service.root() + "/profiles.json";
        std::ofstream(file) << kProfiles;
        const RunResult run = runProgram({tool(), "import", file}, environment());
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        const std::filesystem::path icon =
            service.root() + std::string(t48::installedPath(t48::SystemPath::kPrinterIcon));
        std::filesystem::create_directories(icon.parent_path());
        std::ofstream(icon) << "icns";
    }
    std::vector<std::string> environment() const {
        std::vector<std::string> environment = service.environment();
        environment.insert(environment.end(), {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL="});
        return environment;
    }
    static std::string tool() { return binaryDir() + "/tools/t48-profiles/t48-profiles"; }
    RunResult session(std::vector<std::string> commands, const std::string& uri = kNetworkQueue) {
        std::vector<std::string> argv = {
            pdehost(), "--printer", "T48_Office",          "--device-uri",
            uri,       "click",     "button_ManageProfile"};
        argv.insert(argv.end(), commands.begin(), commands.end());
        return runProgram(argv, environment());
    }
    // A Python expression over `f`, the profile file as the store's tool shows it.
    std::string stored(const std::string& expression) {
        const RunResult shown = runProgram({tool(), "show"}, environment());
        EXPECT_EQ(shown.exitStatus, 0) << shown.err;
        const RunResult read =
            runProgram({"/usr/bin/python3", "-c",
                        "import json,sys\nf=json.load(sys.stdin)\nprint(" + expression + ")"},
                       {}, shown.out);
        EXPECT_EQ(read.exitStatus, 0) << read.err;
        return read.out.substr(0, read.out.find_last_not_of('\n') + 1);
    }
    static std::string rows(int doc = 0) { return "docs[" + std::to_string(doc) + "]['rows']"; }
    static std::string control(const char* outlet, int doc = 0) {
        return "docs[" + std::to_string(doc) + "]['controls']['" + outlet + "']";
    }
    ServiceRoot service;
};

TEST_F(PdeHostWindow, WindowPrintsItsStateRowsAndControls) {
    const RunResult run = session({"window"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[docs[0][k] for k in ('class', 'mode', 'selected')]"), "[0, 0, -1]");
    EXPECT_EQ(query(run.out,
                    "[(r['icon'], r['inmenu'], r['filename'], r['profilename'], "
                    "r['location']) for r in " +
                        rows() + "]"),
              "[(False, 0, 'PRINTER.ICC', 'Printer', 'Disk'), (False, 1, 'MINE.ICC', 'Mine', "
              "'Disk'), (False, 0, 'CARD.ICC', 'Card one', 'Card')]")
        << "the printer icon belongs to walked queues only";
    EXPECT_EQ(query(run.out, "sorted(docs[0]['controls'])"),
              "['_addButton', '_browse', '_deleteButton', '_editButton', '_fileNameEdit', "
              "'_fileNameText', '_localCancel', '_localOK', '_locationMenu', '_locationText', "
              "'_profileMenu', '_profileNameEdit', '_profileNameText']");
    EXPECT_EQ(query(run.out, "[" + control("_profileMenu") + "[k] for k in ('selected', 'items')]"),
              "[0, ['RGB', 'SIM', 'DST']]");
    EXPECT_EQ(query(run.out, "sorted(" + control("_fileNameEdit") + ")"),
              "['enabled', 'kind', 'text']");
    EXPECT_EQ(query(run.out, "[k for k, v in docs[0]['controls'].items() if v['enabled']]"),
              "['_addButton', '_profileMenu']");
}

TEST_F(PdeHostWindow, TickingAndOkWriteTheFileAndTheMenusListTheProfileAtOnce) {
    const RunResult run = session({"tick", "0", "tick", "1", "window", "window-ok", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[r['inmenu'] for r in " + rows() + "]"), "[1, 0, 0]");
    EXPECT_EQ(stored("[e['InMenu'] for e in f['RGB']['entries']]"), "[4, 5, 5]");
    EXPECT_EQ(query(run.out, "docs[1]['controls']['menu_iRGBSource']['items'][4:]"),
              "['PRINTER.ICC(Printer)Disk']");
}

TEST_F(PdeHostWindow, ConfirmedRowOffersAddAndEditAndEditTouchesOnlyTheDisplayName) {
    const RunResult run =
        session({"set", "_profileMenu=2", "select", "0", "window", "click", "_editButton", "window",
                 "clear", "_profileNameEdit", "type", "_profileNameEdit=Renamed", "click",
                 "_localOK", "window", "window-ok"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string enabled =
        "[k for k in ('_addButton', '_editButton', '_deleteButton', "
        "'_fileNameEdit', '_profileNameEdit', '_locationMenu', "
        "'_browse', '_localOK') if docs[%d]['controls'][k]['enabled']]";
    auto at = [&](int doc) {
        char text[400];
        std::snprintf(text, sizeof text, enabled.c_str(), doc);
        return std::string(text);
    };
    EXPECT_EQ(query(run.out, at(0)), "['_addButton', '_editButton']");
    EXPECT_EQ(query(run.out, control("_fileNameEdit") + "['text']"), "DEST.ICC");
    EXPECT_EQ(query(run.out, at(1)), "['_profileNameEdit', '_localOK']");
    EXPECT_EQ(query(run.out, "docs[1]['mode']"), "2");
    EXPECT_EQ(query(run.out, "[docs[2]['mode'], docs[2]['selected']]"), "[0, -1]");
    EXPECT_EQ(stored("[(e['FileName'], e['ProfileName'], e['Location']) for e in "
                     "f['DST']['entries']]"),
              "[('DEST.ICC', 'Renamed', 5)]");
}

TEST_F(PdeHostWindow, WithoutACurrentPrinterOkKeepsTheAdvancedPopupsValues) {
    // No --printer: the ticket has no model dictionary to read the values back from.
    const RunResult run =
        runProgram({pdehost(), "set", "menu_iRGBIntent=2", "set", "menu_iRGBSource=4", "set",
                    "menu_iDestinationProfile=4", "set", "menu_sSimulationProfile=4", "click",
                    "button_ManageProfile", "tick", "0", "set", "_profileMenu=1", "tick", "0",
                    "window-ok", "show"},
                   environment());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string popups =
        "[docs[0]['controls'][m]['selected'] for m in ('menu_iRGBIntent', 'menu_iHalftone', "
        "'menu_iRGBSource', 'menu_iDestinationProfile', 'menu_sSimulationProfile')]";
    // MINE.ICC moved behind the newly listed PRINTER.ICC; SIM.ICC is no longer listed.
    EXPECT_EQ(query(run.out, popups), "[2, 1, 5, 4, 0]");
    EXPECT_EQ(query(run.out, "docs[0]['controls']['menu_iRGBSource']['items'][5]"),
              "MINE.ICC(Mine)Disk");
}

TEST_F(PdeHostWindow, AddingOnTheCardToTheSimList) {
    const RunResult run =
        session({"set", "_profileMenu=1", "click", "_addButton", "type",
                 "_fileNameEdit=PROFILE2.ICC", "type", "_profileNameEdit=Second", "set",
                 "_locationMenu=1", "click", "_localOK", "window", "window-ok"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[r['filename'] for r in " + rows() + "]"),
              "['SIM.ICC', 'PROFILE2.ICC']");
    EXPECT_EQ(stored("[(e['IndexOnDevice'], e['InMenu'], e['ProfileClass'], e['Location'], "
                     "e['FileName']) for e in f['SIM']['entries']][1]"),
              "(501, 6, 2, 5, 'PROFILE2.ICC')");
}

TEST_F(PdeHostWindow, DuplicateRefusedOnTheSameLocationAcceptedOnTheOther) {
    const RunResult run =
        session({"click", "_addButton", "type", "_fileNameEdit=MINE.ICC", "click", "_localOK",
                 "window", "set", "_locationMenu=1", "click", "_localOK", "window"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[docs[0]['mode'], len(" + rows(0) + ")]"), "[1, 3]");
    EXPECT_EQ(query(run.out, "[docs[1]['mode'], " + rows(1) + "[3]['location']]"), "[0, 'Card']");
}

TEST_F(PdeHostWindow, DeletingTheFirstOfThreeRows) {
    const RunResult run = session({"select", "1", "window", "select", "0", "window"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "docs[1]['controls']['_deleteButton']['enabled']"), "False")
        << "a confirmed row cannot be deleted";
    const RunResult deleted = session({"select", "1", "click", "_deleteButton", "select", "0",
                                       "click", "_deleteButton", "window", "window-ok"});
    ASSERT_EQ(deleted.exitStatus, 0) << deleted.err;
    EXPECT_EQ(query(deleted.out, "[r['filename'] for r in " + rows() + "]"),
              "['PRINTER.ICC', 'CARD.ICC']")
        << "the confirmed row stayed";
    EXPECT_EQ(stored("[f['RGB']['count'], [e['FileName'] for e in f['RGB']['entries']]]"),
              "[2, ['PRINTER.ICC', 'CARD.ICC']]");
}

TEST_F(PdeHostWindow, TypedAndPastedTextIsCheckedEditByEdit) {
    const RunResult run = session({"click",
                                   "_addButton",
                                   "type",
                                   "_fileNameEdit=" + std::string(28, 'A'),
                                   "window",
                                   "clear",
                                   "_fileNameEdit",
                                   "type",
                                   "_fileNameEdit=ABCDEFGH.ICCX",
                                   "window",
                                   "type",
                                   "_fileNameEdit=.",
                                   "window",
                                   "clear",
                                   "_fileNameEdit",
                                   "paste",
                                   "_fileNameEdit=A B.ICC",
                                   "window",
                                   "clear",
                                   "_fileNameEdit",
                                   "type",
                                   "_fileNameEdit=.",
                                   "window",
                                   "type",
                                   "_profileNameEdit=Caf\u00e9 cr\u00e8me " + std::string(30, 'n'),
                                   "window"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string text = "[docs[i]['controls']['_fileNameEdit']['text'] for i in range(5)]";
    EXPECT_EQ(query(run.out, text),
              "['" + std::string(27, 'A') + "', 'ABCDEFGH.ICC', 'ABCDEFGH.ICC', 'AB.ICC', '.']");
    EXPECT_EQ(query(run.out, "[docs[i]['controls']['_localOK']['enabled'] for i in range(5)]"),
              "[True, True, True, True, False]");
    EXPECT_EQ(query(run.out, "docs[5]['controls']['_profileNameEdit']['text']"),
              "Caf crme " + std::string(21, 'n'));
}

TEST_F(PdeHostWindow, OpenPanelNamesThatDoNotFitAreRefused) {
    const std::string folder =
        service.root() + std::string(t48::installedPath(t48::SystemPath::kProfilesFolder)) + "/";
    const RunResult run = session({"click", "_addButton", "browse", folder + std::string(32, 'L'),
                                   "window", "browse", folder + "A.B.ICC", "window", "browse",
                                   folder + "FITS.ICC", "window", "browse", "-", "window"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out,
                    "[(d['controls']['_fileNameEdit']['text'], "
                    "d['controls']['_localOK']['enabled']) for d in docs]"),
              "[('', False), ('', False), ('FITS.ICC', True), ('FITS.ICC', True)]");
}

TEST_F(PdeHostWindow, CancelAndAnUnclosedWindowDiscardEveryChange) {
    for (const std::vector<std::string>& commands :
         {std::vector<std::string>{"tick", "0", "select", "2", "click", "_deleteButton",
                                   "window-cancel"},
          std::vector<std::string>{"tick", "0", "select", "2", "click", "_deleteButton"}}) {
        const RunResult run = session(commands);
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(stored("[(e['FileName'], e['InMenu']) for e in f['RGB']['entries']]"),
                  "[('PRINTER.ICC', 2), ('MINE.ICC', 6), ('CARD.ICC', 5)]");
    }
}

TEST_F(PdeHostWindow, UsbQueueKeepsConfirmedEntriesTheWindowNeverShowed) {
    const RunResult run =
        session({"window", "select", "0", "click", "_editButton", "clear", "_fileNameEdit", "type",
                 "_fileNameEdit=MINE2.ICC", "click", "_localOK", "window", "window-ok"},
                "usb://ORVELL/T48?serial=42");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[(r['icon'], r['filename']) for r in " + rows() + "]"),
              "[(False, 'MINE.ICC'), (False, 'CARD.ICC')]")
        << "the state-2 entry is hidden and no icon is shown for USB";
    EXPECT_EQ(stored("[(e['FileName'], e['InMenu']) for e in f['RGB']['entries']]"),
              "[('PRINTER.ICC', 2), ('MINE2.ICC', 6), ('CARD.ICC', 5)]");
}

TEST_F(PdeHostWindow, WindowCommandsNeedAnOpenWindow) {
    for (const char* command : {"window", "window-ok", "window-cancel"}) {
        const RunResult run = runProgram({pdehost(), command}, environment());
        EXPECT_NE(run.exitStatus, 0) << command;
        EXPECT_NE(run.err.find("no window is open"), std::string::npos) << run.err;
    }
    const RunResult typed = session({"type", "_fileNameEdit"});
    EXPECT_NE(typed.exitStatus, 0);
    const RunResult row = session({"select", "7"});
    EXPECT_NE(row.exitStatus, 0);
    EXPECT_NE(row.err.find("no row 7"), std::string::npos) << row.err;
}

}  // namespace

namespace {

TEST_F(PdeHostWindow, WithoutWriteAccessTheButtonIsDisabledAndOpensNothing) {
    service.stopService();
    const RunResult run = session({"window"});
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find("no window is open"), std::string::npos) << run.err;
}

}  // namespace
