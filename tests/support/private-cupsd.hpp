#pragma once
// A cupsd of the test's own (tests/support/private-cupsd), started and stopped by its PID,
// with the client environment that reaches it and keeps the user's lpoptions in its
// folder.

#include <sys/types.h>

#include <string>
#include <vector>

#include "child-process.hpp"

namespace t48::testing {

class PrivateCupsd {
public:
    // Starts cupsd on `listen` ("ADDRESS:PORT") in a fresh folder (searchable by the
    // user cupsd runs filters as), with `filters` (program paths) in its filter folder.
    explicit PrivateCupsd(const std::string& listen, const std::vector<std::string>& filters = {});
    ~PrivateCupsd();  // stop()
    PrivateCupsd(const PrivateCupsd&) = delete;
    PrivateCupsd& operator=(const PrivateCupsd&) = delete;

    bool started() const { return pid_ > 0; }
    // What start printed on failure.
    const std::string& startError() const { return startError_; }
    pid_t pid() const { return pid_; }
    // CUPS_SERVER, CUPS_SERVERROOT and HOME for every client of this server.
    const std::vector<std::string>& environment() const { return environment_; }
    // Creates and enables a queue (the sample T48 PPD unless `ppd` is given); the
    // lpadmin run's result.
    RunResult addQueue(const std::string& name, const std::string& deviceURI,
                       const std::string& ppd = {}) const;
    // Runs a CUPS client program (lp, lpoptions, cupsdisable ...) against this server.
    RunResult client(std::vector<std::string> argv) const;
    // The server's error log so far (filter warnings land there).
    std::string errorLog() const;
    // The file in which the server keeps the PPD of the queue `name`.
    std::string queuePPDPath(const std::string& name) const;
    // The server's ServerBin (its backends and filters).
    std::string serverBin() const;
    void stop();

private:
    TempDir root_;
    std::string dir_;
    pid_t pid_ = -1;
    std::string startError_;
    std::vector<std::string> environment_;
};

// The private-cupsd script of the source tree.
std::string privateCupsdScript();

}  // namespace t48::testing
