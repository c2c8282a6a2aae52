// pdehost sessions on queues of a private cupsd: the queue's PPD and device URI from the
// server, the profile refresh from the queue's printer (snmpd with t48-printer-sim at
// the LPD printer's address, port 161, through the real service and helper), and the
// failures of a queue that is not there or a server that is not running.

#include <algorithm>

#include "print-fixture.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::testing {
namespace {

class QueueSession : public PrintPath {
protected:
    static void SetUpTestSuite() {
        PrintPath::SetUpTestSuite();
        addQueue("T48Partial", sourceDir() + "/tests/data/T48-partial.ppd");
        addQueue("Generic", sourceDir() + "/tests/data/generic-ps.ppd");
    }
    static std::string controls(const std::string& shown, const std::string& expression) {
        return query(shown, "[(" + expression + ") for c in [docs[0]['controls']]][0]");
    }
};

TEST_F(QueueSession, OpensOnTheQueuesPPDAndDeviceURIAndRefreshesFromItsPrinter) {
    ServiceRoot service;
    ASSERT_TRUE(service.startService());
    TempDir snmpDir;
    SnmpdPrinter snmp(snmpDir.path(), kPrinterAddress, 161, generatedRows(3));
    ASSERT_TRUE(snmp.started()) << "snmpd did not come up on " << snmp.peer();

    const RunResult run =
        pdehost({"--queue", "T48Partial", "show", "ticket"}, service.environment());
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    // The partial PPD has no Brightness option; the queue name is the printer ID.
    EXPECT_EQ(
        controls(run.out, "c['menu_Brightness']['items'], len(c['menu_EdgeStrength']['items'])"),
        "([], 4)");
    EXPECT_EQ(query(run.out, "list(docs[1]['T48'])"), "['T48Partial']");
    // The walk went to the printer of the queue's device URI.
    EXPECT_FALSE(snmp.requestLog().empty()) << "the queue's printer was never walked";
    EXPECT_NE(readFile(service.currentPath()).find("PROF3.ICC"), std::string::npos);

    // --ppd still overrides the queue's PPD.
    const RunResult overridden =
        pdehost({"--queue", "T48Partial", "--ppd", sourceDir() + "/PDE/Resources/T48.ppd", "show"});
    ASSERT_EQ(overridden.exitStatus, 0) << overridden.err;
    EXPECT_EQ(controls(overridden.out, "len(c['menu_Brightness']['items'])"), "3");
}

TEST_F(QueueSession, AQueueOfAnotherMakeShowsWhatItsPPDHasAndPrintsWithoutOurOptions) {
    const RunResult run = pdehost({"--queue", "Generic", "show", "submit", pagePS()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(controls(run.out, "c['menu_QuickColor']['items'], c['menu_iRGBSource']['items']"),
              "([], [])");
    EXPECT_EQ(query(run.out, "docs[1]['options']"), "{}");
    EXPECT_EQ(nextJob().queue, "Generic");
}

TEST_F(QueueSession, AnUnknownQueueOrAStoppedServerIsOneLineAndStatus2) {
    const RunResult unknown = pdehost({"--queue", "NoSuchQueue", "show"});
    const RunResult stopped = pdehost({"--queue", "T48Partial", "show"},
                                      {std::string("CUPS_SERVER=") + kPrinterAddress + ":20699"});
    for (const RunResult* run : {&unknown, &stopped}) {
        EXPECT_EQ(run->exitStatus, 2);
        EXPECT_EQ(run->out, "");
        EXPECT_EQ(std::count(run->err.begin(), run->err.end(), '\n'), 1) << run->err;
    }
    EXPECT_NE(unknown.err.find("no queue NoSuchQueue"), std::string::npos) << unknown.err;
    EXPECT_NE(stopped.err.find("cannot reach the print server"), std::string::npos) << stopped.err;
}

}  // namespace
}  // namespace t48::testing
