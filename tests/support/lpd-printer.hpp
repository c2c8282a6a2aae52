#pragma once
// The simulated printer's LPD side (t48-printer-lpd) on a loopback address and port of
// the test's, started and stopped by its PID, and the jobs it received.

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "child-process.hpp"

namespace t48::testing {

// One received job: the queue it was sent to, its control file and its (first) data file.
struct ReceivedJob {
    std::string queue;
    std::string control;
    std::string data;
};

class LpdPrinter {
public:
    // Starts the receiver on address:port, with its `options` ("--timeout", "1" ...), and
    // waits until it listens.
    LpdPrinter(std::string address, int port, const std::vector<std::string>& options = {});
    ~LpdPrinter();

    bool started() const { return started_; }
    // The device URI of a queue on this printer (no SNMP probe before sending).
    std::string deviceURI(const std::string& queue) const;
    // The jobs received so far, in order of arrival.
    std::vector<ReceivedJob> jobs() const;
    // Waits up to `timeout` until `count` jobs have arrived; the jobs received by then.
    std::vector<ReceivedJob> waitForJobs(
        size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(15)) const;
    void stop();

private:
    TempDir dir_;
    std::string address_;
    int port_;
    bool started_ = false;
    std::unique_ptr<ChildProcess> receiver_;
};

}  // namespace t48::testing
