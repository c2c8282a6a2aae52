// Which device URIs name a printer that can be walked, and how its address is found.

#include "device-address.hpp"

namespace t48::pde {

const ProtocolPrefix kProtocolTable[] = {
    {"mdns://", kProtocolBonjour},                             // resolved through DNS-SD first
    {"dnssd://", kProtocolBonjour}, {"lpd://", kProtocolLPD},  // the URI's network location
    {"pap://", kProtocolPAP},                                  // never walked
    {"usb://", kProtocolUSB},                                  // never walked
};
const std::size_t kProtocolTableSize = sizeof kProtocolTable / sizeof kProtocolTable[0];

}  // namespace t48::pde
