// Device URIs of print queues (set by whoever configures the queue) through the
// refresh's address finding, short of the DNS-SD resolve: the walk's host argument must
// never carry a port, an option of the walk's command line, or more than 254 bytes; its
// only ':'s are those of an IPv6 peer "udp6:[ADDRESS]".

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "device-address.hpp"
#include "pde-common.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string uri(reinterpret_cast<const char*>(data), size);
    const int16_t protocol = t48::pde::PDECommon::commoniGetProtocolByUrl(uri.c_str());
    if (protocol < -1 || protocol > 3) {
        std::abort();
    }
    if (std::optional<std::string> host = t48::pde::uriHostAsWritten(uri)) {
        if (std::optional<t48::pde::BonjourService> service =
                t48::pde::bonjourServiceFromHost(*host)) {
            if (service->name.empty() || service->type.find('.') == std::string::npos) {
                std::abort();
            }
        }
    }
    std::optional<std::string> address =
        t48::pde::printerAddressForURI(uri, t48::pde::kProtocolLPD);
    if (address) {
        if (std::optional<std::string> walkHost = t48::pde::walkHostFromAddress(*address)) {
            const bool ipv6 = walkHost->rfind("udp6:[", 0) == 0 && walkHost->back() == ']' &&
                              walkHost->find(']') == walkHost->size() - 1;
            if (walkHost->empty() || walkHost->size() > t48::pde::kPrinterAddressMaxBytes ||
                (!ipv6 && walkHost->find(':') != std::string::npos) || walkHost->front() == '-') {
                std::abort();
            }
        }
    }
    return 0;
}
