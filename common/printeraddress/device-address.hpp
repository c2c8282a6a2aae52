#pragma once
// From a queue's device URI to the printer address the walk is sent to: the one way of
// finding a queue's printer, for the panel's refresh and for the support tools.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace t48::pde {

inline constexpr int16_t kProtocolLPD = 0;
inline constexpr int16_t kProtocolBonjour = 1;
inline constexpr int16_t kProtocolPAP = 2;
inline constexpr int16_t kProtocolUSB = 3;
inline constexpr int16_t kProtocolUnknown = -1;

// Protocol type of a device URI by its prefix (protocol-table.cpp); kProtocolUnknown for any
// other URI and for none.
int16_t protocolOfURI(const char* uri);

// The Bonjour resolve gives up after this long.
inline constexpr std::chrono::milliseconds kBonjourResolveTimeout{1000};
// The printer address is text of at most this many bytes.
inline constexpr std::size_t kPrinterAddressMaxBytes = 254;

struct BonjourService {
    std::string name;    // element 0 of the host name, percent escapes replaced
    std::string type;    // elements 1 and 2, "_pdl-datastream._tcp"
    std::string domain;  // element 3, "local"
};

// The service named by a Bonjour URI's host name (as written, escapes kept); nothing
// when it has fewer than four dot-separated elements or its name is empty.
std::optional<BonjourService> bonjourServiceFromHost(const std::string& host);

// The URI's host name exactly as written (percent escapes kept); nothing when libcups
// cannot take the URI apart or it has no host.
std::optional<std::string> uriHostAsWritten(const std::string& uri);

// The URI's network location: the host (an IPv6 literal in its brackets), and ":" and
// the port as written when the URI writes one (an empty or named port too).
std::optional<std::string> uriNetworkLocation(const std::string& uri);

// The walk's host argument: `address` cut at its first ':', or for a bracketed IPv6
// literal ("[2001:db8::5]:515", "[fe80::1%25eth0]") net-snmp's "udp6:[ADDRESS]" (zone
// "%ZONE" kept). Nothing when the result is empty, longer than kPrinterAddressMaxBytes,
// not printable ASCII, or would be read as an option of the walk's command line (begins
// with '-'), or the literal is no IPv6 address.
std::optional<std::string> walkHostFromAddress(const std::string& address);

// The printer address of a device URI, resolving Bonjour names; nothing when the
// protocol allows no walk or the address cannot be had.
std::optional<std::string> printerAddressForURI(const std::string& uri, int16_t protocol);

// The walk's host argument for the printer of a device URI: its printer address (Bonjour
// names resolved) as walkHostFromAddress gives it; nothing when the URI's protocol allows
// no walk or the address cannot be had.
std::optional<std::string> walkHostForURI(const std::string& uri);

// The walk's argument vector for the printer profile table of `host`, program name first.
std::vector<std::string> walkArguments(const std::string& host);
// The helper's arguments after "mibwalk_XPC" for a walk of `host` as `user`.
std::vector<std::string> walkRequestArguments(const std::string& user, const std::string& host);

}  // namespace t48::pde
