// Which device URIs name a printer that can be walked, and how its address is found.

#include <cstring>

#include "device-address.hpp"

namespace t48::pde {
namespace {

struct ProtocolPrefix {
    const char* prefix;  // compared case-sensitively with the URI's beginning
    int16_t type;
};

// In the order the prefixes are tried.
constexpr ProtocolPrefix kProtocolTable[] = {
    {"mdns://", kProtocolBonjour},                             // resolved through DNS-SD first
    {"dnssd://", kProtocolBonjour}, {"lpd://", kProtocolLPD},  // the URI's network location
    {"pap://", kProtocolPAP},                                  // never walked
    {"usb://", kProtocolUSB},                                  // never walked
};

}  // namespace

int16_t protocolOfURI(const char* uri) {
    if (uri == nullptr) {
        return kProtocolUnknown;
    }
    for (const ProtocolPrefix& entry : kProtocolTable) {
        if (std::strncmp(uri, entry.prefix, std::strlen(entry.prefix)) == 0) {
            return entry.type;
        }
    }
    return kProtocolUnknown;
}

}  // namespace t48::pde
