#include "snmpd-printer.hpp"

#include <arpa/inet.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

namespace t48::testing {
namespace {

constexpr char kSnmpd[] = "/usr/sbin/snmpd";

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void replaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

bool isIPv6(const std::string& address) {
    return address.find(':') != std::string::npos;
}

// "::1" and 161 as /proc/net/udp6 writes a local address: each 32-bit word of the
// address as the machine holds it, "00000000000000000000000001000000:00A1".
std::string procNet6Address(const std::string& address, int port) {
    uint32_t words[4] = {};
    inet_pton(AF_INET6, address.c_str(), words);
    char text[64];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X:%04X", words[0], words[1], words[2],
                  words[3], port);
    return text;
}

// "127.0.6.3" and 16263 as /proc/net/udp writes a local address: "0306007F:3F87".
std::string procNetAddress(const std::string& address, int port) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(address.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    char text[32];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X:%04X", d, c, b, a, port);
    return text;
}

}  // namespace

std::vector<SimRow> generatedRows(unsigned count) {
    std::vector<SimRow> rows;
    for (unsigned i = 1; i <= count; ++i) {
        rows.push_back({i, 4, "Profile " + std::to_string(i), "PROF" + std::to_string(i) + ".ICC",
                        static_cast<int>((i - 1) % 3) + 1, 0, 1});
    }
    return rows;
}

SnmpdPrinter::SnmpdPrinter(const std::string& dir, const std::string& address, int port,
                           const std::vector<SimRow>& rows)
    : dir_(dir), address_(address), port_(port) {
    {
        std::ofstream out(dir_ + "/rows");
        for (const SimRow& r : rows) {
            out << r.index << '\t' << r.sourceType << '\t' << r.profileName << '\t' << r.fileName
                << '\t' << r.profileClass << '\t' << r.column6 << '\t' << r.availability;
            for (int value : r.moreColumns) {
                out << '\t' << value;
            }
            out << '\n';
        }
    }
    std::string conf = readFile(binaryDir() + "/sim/snmpd.conf.in");
    replaceAll(conf, "@AGENT_ADDRESS@", isIPv6(address_) ? peer() : "udp:" + peer());
    replaceAll(conf, "@PRINTER_SIM@", binaryDir() + "/sim/t48-printer-sim");
    replaceAll(conf, "@ROWS_FILE@", dir_ + "/rows");
    replaceAll(conf, "@REQUEST_LOG@", dir_ + "/requests");
    std::ofstream(dir_ + "/snmpd.conf") << conf;

    snmpd_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{kSnmpd, "-f", "-Lo", "-C", "-c", dir_ + "/snmpd.conf"},
        std::vector<std::string>{"SNMP_PERSISTENT_DIR=" + dir_ + "/state",
                                 "MIBS=", "MIBDIRS=/nonexistent"},
        dir_ + "/snmpd.log");
    const bool v6 = isIPv6(address_);
    const std::string bound =
        v6 ? procNet6Address(address_, port_) : procNetAddress(address_, port_);
    for (int i = 0; i < 200 && snmpd_->running(); ++i) {
        if (readFile(v6 ? "/proc/net/udp6" : "/proc/net/udp").find(bound) != std::string::npos) {
            started_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
}

SnmpdPrinter::~SnmpdPrinter() {
    stop();
}

std::string SnmpdPrinter::peer() const {
    const std::string host = isIPv6(address_) ? "udp6:[" + address_ + "]" : address_;
    return host + ":" + std::to_string(port_);
}

std::string SnmpdPrinter::requestLog() const {
    return readFile(dir_ + "/requests");
}

void SnmpdPrinter::stop() {
    if (snmpd_) {
        snmpd_->stop();
        snmpd_.reset();
    }
}

}  // namespace t48::testing
