#include "print-fixture.hpp"

namespace t48::testing {

std::unique_ptr<PrivateCupsd> PrintPath::cupsd_;
std::unique_ptr<LpdPrinter> PrintPath::printer_;

void PrintPath::SetUpTestSuite() {
    if (!cupsd_) {
        cupsd_ = std::make_unique<PrivateCupsd>(
            kCupsdListen, std::vector<std::string>{binaryDir() + "/filter/t48-colorfilter"});
        printer_ = std::make_unique<LpdPrinter>(kPrinterAddress, kPrinterPort);
    }
}

void PrintPath::stopAll() {
    printer_.reset();
    cupsd_.reset();
}

namespace {

// The server and the printer serve every suite of the program; they stop at its end.
class StopAtTheEnd : public ::testing::Environment {
public:
    void TearDown() override { PrintPath::stopAll(); }
};
[[maybe_unused]] ::testing::Environment* const kStopAtTheEnd =
    ::testing::AddGlobalTestEnvironment(new StopAtTheEnd);

}  // namespace

void PrintPath::SetUp() {
    ASSERT_TRUE(cupsd_->started()) << cupsd_->startError();
    ASSERT_TRUE(printer_->started()) << "t48-printer-lpd did not listen";
    jobsBefore_ = printer_->jobs().size();
}

void PrintPath::addQueue(const std::string& name, const std::string& ppd) {
    const RunResult added = cupsd_->addQueue(name, printer_->deviceURI(name), ppd);
    ASSERT_EQ(added.exitStatus, 0) << added.err;
}

std::vector<std::string> PrintPath::environment(const std::vector<std::string>& extra) const {
    std::vector<std::string> env = cupsd_->environment();
    env.insert(env.end(), {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL=", "T48_ROOT=" + root_.path()});
    for (const std::string& entry : extra) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
        env.push_back(entry);
    }
    return env;
}

RunResult PrintPath::pdehost(std::vector<std::string> arguments,
                             const std::vector<std::string>& extra) const {
    arguments.insert(arguments.begin(), binaryDir() + "/host/pdehost");
    return runProgram(arguments, environment(extra));
}

ReceivedJob PrintPath::nextJob() {
    const std::vector<ReceivedJob> jobs = printer_->waitForJobs(jobsBefore_ + 1);
    if (jobs.size() <= jobsBefore_) {
        ADD_FAILURE() << "the printer received no job\n" << cupsd_->errorLog();
        return {};
    }
    jobsBefore_ = jobs.size();
    return jobs.back();
}

std::string pagePS() {
    return sourceDir() + "/tests/data/page.ps";
}

}  // namespace t48::testing
