#include "private-cupsd.hpp"

#include <sys/stat.h>

#include <fstream>
#include <sstream>

namespace t48::testing {

std::string privateCupsdScript() {
    return sourceDir() + "/tests/support/private-cupsd";
}

PrivateCupsd::PrivateCupsd(const std::string& listen, const std::vector<std::string>& filters)
    : dir_(root_.path() + "/cupsd") {
    // Filters run as "lp" when the test is root: it must pass the test's own folder.
    chmod(root_.path().c_str(), 0711);
    std::vector<std::string> argv = {"/bin/sh", privateCupsdScript(), "start", dir_, listen};
    argv.insert(argv.end(), filters.begin(), filters.end());
    const RunResult started = runProgram(argv);
    std::istringstream lines(started.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("PID=", 0) == 0) {
            pid_ = std::stoi(line.substr(4));
        } else if (line.find('=') != std::string::npos) {
            environment_.push_back(line);
        }
    }
    if (started.exitStatus != 0) {
        startError_ = started.err + started.out;
        pid_ = -1;
    }
}

PrivateCupsd::~PrivateCupsd() {
    stop();
}

RunResult PrivateCupsd::addQueue(const std::string& name, const std::string& deviceURI,
                                 const std::string& ppd) const {
    std::vector<std::string> argv = {"/bin/sh", privateCupsdScript(), "queue", dir_, name,
                                     deviceURI};
    if (!ppd.empty()) {
        argv.push_back(ppd);
    }
    return runProgram(argv);
}

RunResult PrivateCupsd::client(std::vector<std::string> argv) const {
    return runProgram(argv, environment_);
}

std::string PrivateCupsd::errorLog() const {
    std::ifstream in(dir_ + "/log/error_log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string PrivateCupsd::queuePPDPath(const std::string& name) const {
    return dir_ + "/root/ppd/" + name + ".ppd";
}

std::string PrivateCupsd::serverBin() const {
    return dir_ + "/bin";
}

void PrivateCupsd::stop() {
    if (pid_ > 0) {
        runProgram({"/bin/sh", privateCupsdScript(), "stop", dir_});
        pid_ = -1;
    }
}

}  // namespace t48::testing
