#pragma once
// A simulated T48 printer for tests: the real snmpd, in the foreground on its own
// loopback address and port, serving a profile table through t48-printer-sim.

#include <memory>
#include <string>
#include <vector>

#include "child-process.hpp"

namespace t48::testing {

// One table row as the simulator's rows file holds it.
struct SimRow {
    unsigned index;
    int sourceType;
    std::string profileName;
    std::string fileName;
    int profileClass;
    int column6;
    int availability;
    std::vector<int> moreColumns{};  // served as columns 8 on
};

// `count` well-shaped rows: "PROF<n>.ICC", disk, classes cycling 1, 2, 3.
std::vector<SimRow> generatedRows(unsigned count);

class SnmpdPrinter {
public:
    // Writes the rows file and the configuration into `dir` and starts snmpd on
    // udp:address:port (udp6:[address]:port for an IPv6 address); returns once the
    // agent's socket is bound.
    SnmpdPrinter(const std::string& dir, const std::string& address, int port,
                 const std::vector<SimRow>& rows);
    ~SnmpdPrinter();

    bool started() const { return started_; }
    std::string peer() const;        // "address:port" or "udp6:[address]:port", the walk's agent
    std::string requestLog() const;  // what t48-printer-sim was asked so far
    void stop();

private:
    std::string dir_;
    std::string address_;
    int port_;
    bool started_ = false;
    std::unique_ptr<ChildProcess> snmpd_;
};

// The walk root sent by the panel.
inline constexpr char kProfileTableEntry[] = "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1";

}  // namespace t48::testing
