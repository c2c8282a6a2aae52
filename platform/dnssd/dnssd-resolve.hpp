#pragma once
// Resolving a DNS-SD service instance (CFNetServiceCreate with port 0,
// CFNetServiceResolveWithTimeout, CFNetServiceGetAddressing) through the Avahi daemon
// on the system bus.

#include <sys/socket.h>

#include <chrono>
#include <string>
#include <vector>

namespace t48::dnssd {

enum class ResolveStatus {
    kResolved,     // addresses holds at least one socket address
    kNoDaemon,     // no Avahi daemon (or no system bus) to ask
    kNotResolved,  // the daemon answered that the service cannot be resolved
    kTimedOut,     // no answer within the time-out
    kBadName,      // empty name or type, or a name Avahi refuses
};

// Resolves the instance `name` of `type` ("_pdl-datastream._tcp") in `domain`
// ("local") to its IPv4 socket addresses, waiting at most `timeout`. Addresses carry
// the service's port.
ResolveStatus resolveService(const std::string& name, const std::string& type,
                             const std::string& domain, std::chrono::milliseconds timeout,
                             std::vector<sockaddr_storage>* addresses);

}  // namespace t48::dnssd
