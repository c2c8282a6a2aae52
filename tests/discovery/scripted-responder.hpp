#pragma once
// TEST DOUBLE: a scripted SNMPv1 responder on a loopback UDP port. It answers each
// request with whatever its script returns, so a test can show agent faults that the
// real snmpd cannot be made to produce (an error status of genErr, a repeated
// identifier, answers without variables). Requests and answers are encoded here in
// plain BER, independent of the library under test.

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace t48::testing {

using SubIds = std::vector<uint32_t>;

struct ScriptedVariable {
    SubIds name;
    uint8_t type;  // 0x02 INTEGER, 0x04 OCTET STRING, 0x05 NULL, 0x80-0x82 exceptions
    long integer = 0;
    std::string text;
};

struct ScriptedRequest {
    uint8_t pduType;  // 0xA0 GET, 0xA1 GET-NEXT
    SubIds name;      // the first variable's name
    int number;       // 1 for the first request the responder received
};

struct ScriptedReply {
    int errorStatus = 0;  // 2 noSuchName, 5 genErr
    std::vector<ScriptedVariable> variables;
    bool silent = false;  // send nothing
};

class ScriptedResponder {
public:
    using Script = std::function<ScriptedReply(const ScriptedRequest&)>;

    ScriptedResponder(const std::string& address, int port, Script script);
    ~ScriptedResponder();

    bool listening() const { return socket_ >= 0; }
    std::string peer() const;
    std::vector<ScriptedRequest> requests();

private:
    void serve();

    std::string address_;
    int port_;
    Script script_;
    int socket_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<ScriptedRequest> requests_;
    std::thread thread_;
};

// Names inside the printer profile table entry: column, 1, row.
SubIds tableValueName(uint32_t column, uint32_t row);

}  // namespace t48::testing
