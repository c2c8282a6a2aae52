// t48-queue-profiles against queues of a private cupsd whose printer is the simulated one
// (snmpd with t48-printer-sim at the LPD printer's address, port 161): the profiles it
// puts into the queue's PPD, what lp, pdehost and cupstestppd then make of that PPD, and
// the refusals that leave the PPD as it was.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "print-fixture.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"
#include "system-paths.hpp"

namespace t48::testing {
namespace {

const std::vector<SimRow> kOfficeAndProof = {
    {1, 4, "Office Proof", "OFFICE.ICC", 1, 0, 1},
    {2, 5, "Proof: Caf\xC3\xA9 <x>", "PROOF.ICC", 2, 0, 1},
};

class QueueProfiles : public PrintPath {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        for (const char* queue : {"T48Kept", "T48Removed", "T48Refused", "T48Printed"}) {
            addQueue(queue);
        }
        addQueue("GenericPS", sourceDir() + "/tests/data/generic-ps.ppd");
    }
    // The driver's PPD where the tool looks for it, under the test root.
    void SetUp() override {
        PrintPath::SetUp();
        const std::filesystem::path driver =
            root_.path() + std::string(installedPath(SystemPath::kDriverPPD));
        std::filesystem::create_directories(driver.parent_path());
        std::filesystem::copy_file(samplePPD(), driver);
    }
    RunResult queueProfiles(const std::string& queue, std::vector<std::string> prefix = {}) const {
        prefix.push_back(binaryDir() + "/tools/t48-queue-profiles/t48-queue-profiles");
        prefix.push_back(queue);
        return runProgram(prefix, environment());
    }
    std::string ppd(const std::string& queue) const {
        return readFile(cupsd_->queuePPDPath(queue));
    }
    RunResult client(std::vector<std::string> argv) const { return cupsd_->client(argv); }
    // The choices of `option` as lpoptions -l lists them, the default starred.
    std::string choices(const std::string& queue, const std::string& option) const {
        std::istringstream lines(client({"/usr/bin/lpoptions", "-p", queue, "-l"}).out);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind(option + "/", 0) == 0) {
                return line.substr(line.find(": ") + 2);
            }
        }
        return "(no " + option + ")";
    }
    // The queue's default options in its PPD, made from `ppd` (lpadmin -P; with -o alone it
    // would ask the server for the PPD at "localhost", where this cupsd does not listen).
    void setDefaults(const std::string& queue, const std::string& ppd,
                     const std::vector<std::string>& defaults) {
        std::vector<std::string> argv = {"/usr/sbin/lpadmin", "-p", queue, "-P", ppd};
        for (const std::string& option : defaults) {
            argv.insert(argv.end(), {"-o", option});
        }
        const RunResult set = client(argv);
        ASSERT_EQ(set.exitStatus, 0) << set.err;
        for (const std::string& option : defaults) {
            const std::string line = "*Default" + option.substr(0, option.find('=')) + ": " +
                                     option.substr(option.find('=') + 1) + "\n";
            ASSERT_NE(this->ppd(queue).find(line), std::string::npos) << line;
        }
    }
    void walkable(const std::vector<SimRow>& rows) {
        snmp_.reset();
        snmp_ = std::make_unique<SnmpdPrinter>(snmpDir_.path(), kPrinterAddress, 161, rows);
        ASSERT_TRUE(snmp_->started()) << "snmpd did not come up on " << snmp_->peer();
    }
    TempDir snmpDir_;
    std::unique_ptr<SnmpdPrinter> snmp_;
};

TEST_F(QueueProfiles, AddsTheProfilesOfEachClassToItsOptionsKeepsTheDefaultsAndRunsOnce) {
    std::vector<SimRow> rows = kOfficeAndProof;
    rows.insert(rows.end(), {
                                {3, 4, "Coated", "COATED.ICC", 3, 0, 1},
                                {4, 4, "Hash", "A#B.ICC", 1, 0, 1},
                                {5, 4, "Dollar", "A$B.ICC", 1, 0, 1},
                                {6, 6, "Elsewhere", "ELSE.ICC", 1, 0, 1},  // neither disk nor card
                                {7, 4, "Spaced", "my file.icc", 1, 0, 1},  // ill-shaped
                                {8, 4, "Odd", "ODD.ICC", 9, 0, 1},         // no class of ours
                            });
    walkable(rows);
    setDefaults("T48Kept", samplePPD(), {"ZTQuickColor=Vivid", "ZTImageRGBSource=WideRGB"});

    const RunResult run = queueProfiles("T48Kept");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const std::string rgb = choices("T48Kept", "ZTImageRGBSource");
    std::istringstream words(rgb);
    std::vector<std::string> keywords{std::istream_iterator<std::string>(words), {}};
    ASSERT_EQ(keywords.size(), 8u) << rgb;
    EXPECT_EQ(std::vector<std::string>(keywords.begin(), keywords.begin() + 6),
              (std::vector<std::string>{"None", "sRGB", "*WideRGB", "DisplayRGB", "Disk_OFFICE.ICC",
                                        "Card_PROOF.ICC"}));
    // The two names a keyword cannot tell apart by their bytes end in different hashes.
    EXPECT_NE(keywords[6], keywords[7]);
    for (const std::string& hashed : {keywords[6], keywords[7]}) {
        EXPECT_EQ(hashed.rfind("Disk_A_B.ICC_", 0), 0u) << rgb;
    }
    for (const char* option : {"ZTTextRGBSource", "ZTGraphicsRGBSource"}) {
        EXPECT_EQ(choices("T48Kept", option), "None *sRGB WideRGB DisplayRGB" + rgb.substr(29))
            << option;
    }
    for (const char* option : {"ZTImageDestinationProfile", "ZTTextDestinationProfile",
                               "ZTGraphicsDestinationProfile"}) {
        EXPECT_EQ(choices("T48Kept", option), "*Auto Vivid Photo Monitor Disk_COATED.ICC")
            << option;
    }
    EXPECT_EQ(choices("T48Kept", "ZTSimSource"), "*None SWOP Euroscale JapanColor Disk_COATED.ICC");
    EXPECT_EQ(choices("T48Kept", "ZTQuickColor"), "Auto Photo *Vivid UserDefined");

    // Texts by name and location, in the PPD's ISO Latin-1, ':' and '<' as hex strings.
    const std::string written = ppd("T48Kept");
    EXPECT_NE(written.find("*ZTImageRGBSource Disk_OFFICE.ICC/Office Proof (Disk): "
                           "\"<</ZTImageRGBSourceProfile "
                           "(/ata1a/data/USfiles/Profiles/OFFICE.ICC)>>setpagedevice\"\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("/Proof<3A> Caf\xE9 <3C>x> (Card): "), std::string::npos);
    EXPECT_NE(written.find("*T48ProfileChoice ZTSimSource: \"Disk_COATED.ICC "
                           "/ata1a/data/USfiles/Profiles/COATED.ICC\"\n"),
              std::string::npos);
    for (const char* dropped : {"ELSE.ICC", "my file", "ODD.ICC"}) {
        EXPECT_EQ(written.find(dropped), std::string::npos) << dropped;
    }
    const RunResult checked =
        runProgram({"/usr/bin/cupstestppd", "-W", "all", cupsd_->queuePPDPath("T48Kept")},
                   {"CUPS_SERVERBIN=" + cupsd_->serverBin()});
    EXPECT_EQ(checked.exitStatus, 0) << checked.out << checked.err;
    EXPECT_EQ(checked.out.find("WARN"), std::string::npos) << checked.out;

    // The same printer again: the queue keeps its PPD file as it is.
    const auto installed = std::filesystem::last_write_time(cupsd_->queuePPDPath("T48Kept"));
    const RunResult again = queueProfiles("T48Kept");
    EXPECT_EQ(again.exitStatus, 0) << again.err;
    EXPECT_NE(again.out.find("unchanged"), std::string::npos) << again.out;
    EXPECT_EQ(ppd("T48Kept"), written);
    EXPECT_EQ(std::filesystem::last_write_time(cupsd_->queuePPDPath("T48Kept")), installed);
}

TEST_F(QueueProfiles, AProfileGoneFromThePrinterLeavesThePPDAndItsDefaultFallsBack) {
    walkable(kOfficeAndProof);
    ASSERT_EQ(queueProfiles("T48Removed").exitStatus, 0);
    setDefaults("T48Removed", cupsd_->queuePPDPath("T48Removed"),
                {"ZTImageRGBSource=Card_PROOF.ICC", "ZTQuickColor=Photo"});
    walkable({kOfficeAndProof[0]});

    const RunResult run = queueProfiles("T48Removed");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(choices("T48Removed", "ZTImageRGBSource"),
              "None *sRGB WideRGB DisplayRGB Disk_OFFICE.ICC");
    EXPECT_EQ(choices("T48Removed", "ZTQuickColor"), "Auto *Photo Vivid UserDefined");
    EXPECT_EQ(ppd("T48Removed").find("PROOF.ICC"), std::string::npos);
}

TEST_F(QueueProfiles, ASwitchedOffPrinterAnotherMakeAnUnknownQueueOrAPlainUserLeaveThePPD) {
    walkable(kOfficeAndProof);
    ASSERT_EQ(queueProfiles("T48Refused").exitStatus, 0);
    const std::string before = ppd("T48Refused");
    const std::string generic = ppd("GenericPS");
    const std::vector<std::pair<RunResult, const char*>> refused = {
        {queueProfiles("T48Refused",
                       {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"}),
         "lpadmin"},
        {queueProfiles("GenericPS"), "not a T48 queue"},
        {queueProfiles("NoSuchQueue"), "no queue NoSuchQueue"},
        {(snmp_.reset(), queueProfiles("T48Refused")), "did not answer"},
    };
    for (const auto& [run, why] : refused) {
        EXPECT_EQ(run.exitStatus, 1) << why;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_NE(run.err.find(why), std::string::npos) << run.err;
    }
    EXPECT_EQ(ppd("T48Refused"), before);
    EXPECT_EQ(ppd("GenericPS"), generic);
}

// The panel's encoding of a profile path in "...CustomFilename": each byte as two
// characters from '0'.
std::string encodedPath(const std::string& path) {
    std::string text;
    for (const char c : path) {
        text += static_cast<char>('0' + (static_cast<unsigned char>(c) >> 4));
        text += static_cast<char>('0' + (static_cast<unsigned char>(c) & 0x0F));
    }
    return text;
}

TEST_F(QueueProfiles, AnAddedChoiceReachesThePrinterAsItsProfilesCommandOnce) {
    walkable(kOfficeAndProof);
    ASSERT_EQ(queueProfiles("T48Printed").exitStatus, 0);
    const std::string path = "/ata1a/data/USfiles/Profiles/OFFICE.ICC";
    const std::string command = "<</ZTImageRGBSourceProfile (" + path + ")>>setpagedevice";
    // As another program's dialog sends it, whatever the Quick Color preset; and beside
    // the same profile saved as an added profile under Custom.
    const std::vector<std::vector<std::string>> jobs = {
        {"-o", "ZTImageRGBSource=Disk_OFFICE.ICC"},
        {"-o", "ZTImageRGBSource=Disk_OFFICE.ICC", "-o", "ZTQuickColor=UserDefined", "-o",
         "ZTImageRGBSourceCustom=True", "-o",
         "ZTImageRGBSourceCustomFilename=" + encodedPath(path)},
    };
    for (const std::vector<std::string>& options : jobs) {
        std::vector<std::string> lp = {"/usr/bin/lp", "-d", "T48Printed"};
        lp.insert(lp.end(), options.begin(), options.end());
        lp.push_back(pagePS());
        ASSERT_EQ(client(lp).exitStatus, 0);
        const std::string data = nextJob().data;
        const size_t at = data.find(command);
        ASSERT_NE(at, std::string::npos) << data;
        EXPECT_EQ(data.find(command, at + 1), std::string::npos) << "the command came twice";
        EXPECT_EQ(data.find("<</ZTImageRGBSource /"), std::string::npos) << data;
    }
}

// The user's stored profile, listed in the menus.
const char* const kListedOffice = R"({
  "RGB": {"count": 1, "entries": [
    {"IndexOnDevice": 1, "InMenu": 4, "ProfileClass": 1, "FileName": "OFFICE.ICC",
     "ProfileName": "Office Proof", "Location": 4}]},
  "SIM": {"count": 0, "entries": []}, "DST": {"count": 0, "entries": []}
})";

TEST_F(QueueProfiles, ThePanelOffersAPrinterProfileOnlyAsTheUsersOwnAndKeepsOneItCannotShow) {
    const auto menus = [this] {
        const RunResult run = pdehost({"--queue", "T48Printed", "show"});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        return query(run.out,
                     "sorted((k, c['items']) for k, c in docs[0]['controls'].items() "
                     "if c['kind'] == 'popup')");
    };
    const std::string before = menus();
    walkable(kOfficeAndProof);
    ASSERT_EQ(queueProfiles("T48Printed").exitStatus, 0);
    EXPECT_EQ(menus(), before);

    // A saved choice of the printer's profile that the user does not list: the popup shows
    // no item, and the print keeps the choice.
    ASSERT_EQ(
        client({"/usr/bin/lpoptions", "-p", "T48Printed", "-o", "ZTImageRGBSource=Disk_OFFICE.ICC"})
            .exitStatus,
        0);
    const std::vector<std::string> session = {"--queue",           "T48Printed", "set",
                                              "menu_QuickColor=3", "show",       "print"};
    const RunResult unlisted = pdehost(session);
    ASSERT_EQ(unlisted.exitStatus, 0) << unlisted.err;
    EXPECT_EQ(query(unlisted.out,
                    "docs[0]['controls']['menu_iRGBSource']['selected'], "
                    "docs[1]['ZTImageRGBSource']"),
              "-1 Disk_OFFICE.ICC");

    // Listed: its item, and the print carries it as the panel carries the user's profiles.
    const std::string file = root_.file("profiles.json");
    std::ofstream(file) << kListedOffice;
    ASSERT_EQ(runProgram({binaryDir() + "/tools/t48-profiles/t48-profiles", "import", file},
                         environment())
                  .exitStatus,
              0);
    const RunResult listed = pdehost(session);
    ASSERT_EQ(listed.exitStatus, 0) << listed.err;
    EXPECT_EQ(query(listed.out,
                    "docs[0]['controls']['menu_iRGBSource']['selected'], "
                    "docs[1]['ZTImageRGBSource'], docs[1]['ZTImageRGBSourceCustom']"),
              "4 None True");
}

}  // namespace
}  // namespace t48::testing
