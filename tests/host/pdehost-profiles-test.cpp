// pdehost sessions over a profile file written by the store's own tool (t48-profiles
// import) under a test root: the profile popups' items and their ticket entries.
// Python's json and plistlib read the output and the ticket independently.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "pdehost-run.hpp"
#include "system-paths.hpp"

namespace {

using t48::testing::binaryDir;
using t48::testing::kGerman;
using t48::testing::pdehost;
using t48::testing::query;
using t48::testing::runProgram;
using t48::testing::RunResult;
using t48::testing::TempDir;

// RGB in states 4, 1, 6 (the last on neither disk nor card), SIM on disk and card,
// DST empty.
const char* const kProfiles = R"({
  "RGB": {"count": 3, "entries": [
    {"IndexOnDevice": 1, "InMenu": 4, "ProfileClass": 1, "FileName": "office.icc",
     "ProfileName": "Office", "Location": 4},
    {"IndexOnDevice": 2, "InMenu": 1, "ProfileClass": 1, "FileName": "hidden.icc",
     "ProfileName": "Hidden", "Location": 4},
    {"IndexOnDevice": 503, "InMenu": 6, "ProfileClass": 2, "FileName": "mine.icc",
     "ProfileName": "Mine", "Location": 0}]},
  "SIM": {"count": 2, "entries": [
    {"IndexOnDevice": 3, "InMenu": 3, "ProfileClass": 3, "FileName": "swop.icc",
     "ProfileName": "Swop", "Location": 5},
    {"IndexOnDevice": 4, "InMenu": 4, "ProfileClass": 3, "FileName": "fogra.icc",
     "ProfileName": "Fogra", "Location": 4}]},
  "DST": {"count": 0, "entries": []}
})";

// The same file without the SIM card profile and with the RGB disk profile gone.
const char* const kProfilesAfterRemoval = R"({
  "RGB": {"count": 1, "entries": [
    {"IndexOnDevice": 503, "InMenu": 6, "ProfileClass": 2, "FileName": "mine.icc",
     "ProfileName": "Mine", "Location": 0}]},
  "SIM": {"count": 1, "entries": [
    {"IndexOnDevice": 4, "InMenu": 4, "ProfileClass": 3, "FileName": "fogra.icc",
     "ProfileName": "Fogra", "Location": 4}]},
  "DST": {"count": 0, "entries": []}
})";

const std::vector<std::string> kRGBPopups = {"menu_iRGBSource", "menu_tRGBSource",
                                             "menu_gRGBSource"};
const std::vector<std::string> kDSTPopups = {"menu_iDestinationProfile", "menu_tDestinationProfile",
                                             "menu_gDestinationProfile"};

// The login name of the real user id: the user whose file the panel reads.
std::string loginName() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? entry->pw_name : "";
}

class PdeHostProfiles : public ::testing::Test {
protected:
    std::vector<std::string> environment(const char* language = "") const {
        return {std::string("LANGUAGE=") + language, "LANG=C.UTF-8",
                "LC_ALL=", "T48_ROOT=" + root.path()};
    }
    // The store's tool writes the real user's file, as the panel reads it.
    void import(const char* json, const std::vector<std::string>& prefix = {},
                const std::vector<std::string>& toolArguments = {}) {
        const std::string file = root.file("profiles.json");
        std::ofstream(file) << json;
        std::vector<std::string> argv = prefix;
        argv.push_back(binaryDir() + "/tools/t48-profiles/t48-profiles");
        argv.insert(argv.end(), toolArguments.begin(), toolArguments.end());
        argv.push_back("import");
        argv.push_back(file);
        const RunResult run = runProgram(argv, environment());
        ASSERT_EQ(run.exitStatus, 0) << run.err;
    }
    RunResult session(std::vector<std::string> commands, const char* language = "") {
        std::vector<std::string> argv = {pdehost(), "--printer", "T48_Office", "--ticket",
                                         ticketFile()};
        argv.insert(argv.end(), commands.begin(), commands.end());
        return runProgram(argv, environment(language));
    }
    // A Python expression over `m`, the model dictionary, and `d`, the whole ticket.
    std::string ticket(const std::string& expression) {
        const RunResult run = runProgram(
            {"/usr/bin/python3", "-c",
             "import plistlib,sys\nd=plistlib.load(open(sys.argv[1],'rb'))\n"
             "m=d['T48']['T48_Office']\n"
             "enc=lambda p: ''.join(chr(0x30+(b>>4))+chr(0x30+(b&15)) for b in p.encode())\n"
             "print(" +
                 expression + ")",
             ticketFile()});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        return run.out.substr(0, run.out.find_last_not_of('\n') + 1);
    }
    std::string ticketFile() const { return root.file("ticket.plist"); }
    std::string profileFile(const std::string& user) const {
        return root.path() + std::string(t48::installedPath(t48::SystemPath::kPreferencesFolder)) +
               "/" + user + "-T48-profile.plist";
    }
    static std::string items(const std::string& popup) {
        return "docs[0]['controls']['" + popup + "']['items']";
    }
    static std::string selected(const std::string& popup, int doc = 0) {
        return "docs[" + std::to_string(doc) + "]['controls']['" + popup + "']['selected']";
    }
    TempDir root;
};

TEST_F(PdeHostProfiles, ShowListsTheProfilesAfterThePPDChoicesOfTheSevenPopups) {
    import(kProfiles);
    const RunResult run = session({"show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    for (const std::string& popup : kRGBPopups) {
        EXPECT_EQ(query(run.out, items(popup)),
                  "['None', 'sRGB', 'Wide Gamut RGB', 'Display RGB', 'office.icc(Office)Disk', "
                  "'mine.icc(Mine)']")
            << popup;
    }
    EXPECT_EQ(query(run.out, items("menu_sSimulationProfile") + "[4:]"),
              "['swop.icc(Swop)Card', 'fogra.icc(Fogra)Disk']");
    for (const std::string& popup : kDSTPopups) {
        EXPECT_EQ(query(run.out, "len(" + items(popup) + ")"), "4") << popup;
    }
    EXPECT_EQ(query(run.out, "len(" + items("menu_sMatchPaperColor") + ")"), "2");
}

TEST_F(PdeHostProfiles, LocationWordsAreGermanInTheGermanLocale) {
    import(kProfiles);
    const RunResult run = session({"show"}, "de");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, items("menu_sSimulationProfile") + "[4:]"),
              "['swop.icc(Swop)Speicherkarte', 'fogra.icc(Fogra)Festplatte']");
    EXPECT_EQ(query(run.out, items("menu_iRGBSource") + "[4:]"),
              "['office.icc(Office)Festplatte', 'mine.icc(Mine)']");
}

TEST_F(PdeHostProfiles, AnAddedProfileIsStoredFoundAgainAndLostWithItsEntry) {
    import(kProfiles);
    RunResult run = session({"set", "menu_sSimulationProfile=4", "set", "menu_iRGBSource=4"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string card = "'/ataCf1a/data/USfiles/Profiles/swop.icc'";
    EXPECT_EQ(ticket("m['ZTSimSourceCustom'], m['ZTSimSource'], "
                     "m['ZTSimSourceCustomFilename'] == enc(" +
                     card + ")"),
              "True None True");
    EXPECT_EQ(ticket("d['ZTSimSourceCustom'], d['ZTSimSource'], "
                     "d['ZTSimSourceCustomFilename'] == enc(" +
                     card + ")"),
              "True None True")
        << "the top level too";
    EXPECT_EQ(ticket("m['ZTImageRGBSource'], m['ZTImageRGBSourceCustom'], "
                     "m['ZTTextRGBSourceCustom'], 'ZTSimRenderIntentCustom' in m"),
              "None True False False");

    run = session({"show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[" + selected("menu_sSimulationProfile") + ", " +
                                 selected("menu_iRGBSource") + "]"),
              "[4, 4]");

    import(kProfilesAfterRemoval);
    run = session({"show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[" + selected("menu_sSimulationProfile") + ", " +
                                 selected("menu_iRGBSource") + "]"),
              "[0, 1]")
        << "the PPD defaults None and sRGB, not the stored first choices";
}

TEST_F(PdeHostProfiles, ChoosingAPPDItemAfterwardsWritesFalseAndKeepsTheFileName) {
    import(kProfiles);
    ASSERT_EQ(session({"set", "menu_sSimulationProfile=5"}).exitStatus, 0);
    const std::string disk = "enc('/ata1a/data/USfiles/Profiles/fogra.icc')";
    ASSERT_EQ(ticket("m['ZTSimSourceCustomFilename'] == " + disk), "True");

    RunResult run = session({"show", "set", "menu_sSimulationProfile=2", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, selected("menu_sSimulationProfile")), "5");
    EXPECT_EQ(ticket("m['ZTSimSourceCustom'], m['ZTSimSource'], d['ZTSimSourceCustom'], "
                     "m['ZTSimSourceCustomFilename'] == " +
                     disk + ", d['ZTSimSourceCustomFilename'] == " + disk),
              "False Euroscale False True True");
    run = session({"show"});
    EXPECT_EQ(query(run.out, selected("menu_sSimulationProfile")), "2");
}

struct BrokenFile {
    const char* name;
    void (*make)(const std::string& path);
};
class PdeHostBrokenProfiles : public PdeHostProfiles,
                              public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(PdeHostBrokenProfiles, LeaveOnlyThePPDChoicesAndTheSessionWorking) {
    import(kProfiles);
    ASSERT_EQ(session({"set", "menu_sSimulationProfile=4"}).exitStatus, 0);
    GetParam().make(profileFile(loginName()));
    const RunResult run = session({"show", "set", "menu_tRGBSource=3", "show"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(
        query(run.out, "[len(" + items("menu_sSimulationProfile") + "), len(" +
                           items("menu_iRGBSource") + "), len(" + items("menu_QuickColor") + ")]"),
        "[4, 4, 4]");
    EXPECT_EQ(query(run.out, selected("menu_sSimulationProfile")), "0") << "the PPD default";
    EXPECT_EQ(query(run.out, selected("menu_tRGBSource", 1)), "3");
    EXPECT_EQ(ticket("m['ZTTextRGBSource'], m['ZTTextRGBSourceCustom'], m['ZTSimSourceCustom']"),
              "DisplayRGB False False");
}

void removeFile(const std::string& path) {
    std::filesystem::remove(path);
}
void replaceByFolder(const std::string& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
}
void replaceByText(const std::string& path) {
    std::ofstream(path, std::ios::trunc) << "<?xml version=\"1.0\"?><plist><dict><key>RGB";
}
// A property list whose SIM class lacks its "ProfileName" sub-dictionary.
void dropAClassField(const std::string& path) {
    const RunResult run =
        runProgram({"/usr/bin/python3", "-c",
                    "import plistlib,sys\np=sys.argv[1]\nd=plistlib.load(open(p,'rb'))\n"
                    "del d['SIM']['ProfileName']\nplistlib.dump(d,open(p,'wb'))",
                    path});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
}

INSTANTIATE_TEST_SUITE_P(Files, PdeHostBrokenProfiles,
                         ::testing::Values(BrokenFile{"Absent", removeFile},
                                           BrokenFile{"AFolderInItsPlace", replaceByFolder},
                                           BrokenFile{"NotAPropertyList", replaceByText},
                                           BrokenFile{"AClassWithoutProfileNames",
                                                      dropAClassField}),
                         [](const auto& info) { return std::string(info.param.name); });

// Root reads every file, so the session runs as "nobody" (setpriv) over a file of mode
// 0000; a non-root test run is unprivileged already.
TEST_F(PdeHostProfiles, AFileTheUserMayNotReadLeavesOnlyThePPDChoices) {
    std::vector<std::string> asNobody;
    std::string user = loginName();
    if (geteuid() == 0) {
        asNobody = {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
        user = "nobody";
    }
    ASSERT_EQ(chmod(root.path().c_str(), 0755), 0);  // root's tool acts as the user
    import(kProfiles, {}, {"--user", user});
    ASSERT_EQ(chmod(profileFile(user).c_str(), 0644), 0);
    std::vector<std::string> argv = asNobody;
    argv.insert(argv.end(), {pdehost(), "show"});
    RunResult run = runProgram(argv, environment());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "len(" + items("menu_sSimulationProfile") + ")"), "6")
        << "readable, the file gives the profiles";

    ASSERT_EQ(chmod(profileFile(user).c_str(), 0), 0);
    run = runProgram(argv, environment());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(query(run.out, "[len(" + items("menu_sSimulationProfile") + "), len(" +
                                 items("menu_iRGBSource") + ")]"),
              "[4, 4]");
}

}  // namespace
