#include "dnssd-resolve.hpp"

#include <avahi-client/client.h>
#include <avahi-client/lookup.h>
#include <avahi-common/error.h>
#include <avahi-common/simple-watch.h>
#include <netinet/in.h>

#include <cstring>
#include <memory>

namespace t48::dnssd {

namespace {

using Clock = std::chrono::steady_clock;

struct PollDeleter {
    void operator()(AvahiSimplePoll* poll) const { avahi_simple_poll_free(poll); }
};
struct ClientDeleter {
    void operator()(AvahiClient* client) const { avahi_client_free(client); }
};
struct ResolverDeleter {
    void operator()(AvahiServiceResolver* resolver) const { avahi_service_resolver_free(resolver); }
};

struct Outcome {
    bool done = false;
    ResolveStatus status = ResolveStatus::kTimedOut;
    std::vector<sockaddr_storage> addresses;
};

void onClientState(AvahiClient*, AvahiClientState state, void* data) {
    auto* outcome = static_cast<Outcome*>(data);
    if (state == AVAHI_CLIENT_FAILURE) {
        outcome->status = ResolveStatus::kNoDaemon;
        outcome->done = true;
    }
}

void onResolved(AvahiServiceResolver*, AvahiIfIndex, AvahiProtocol, AvahiResolverEvent event,
                const char*, const char*, const char*, const char*, const AvahiAddress* address,
                uint16_t port, AvahiStringList*, AvahiLookupResultFlags, void* data) {
    auto* outcome = static_cast<Outcome*>(data);
    if (outcome->done) {
        return;
    }
    outcome->done = true;
    if (event != AVAHI_RESOLVER_FOUND || address == nullptr || address->proto != AVAHI_PROTO_INET) {
        outcome->status = ResolveStatus::kNotResolved;
        return;
    }
    sockaddr_storage storage{};
    auto* inet = reinterpret_cast<sockaddr_in*>(&storage);
    inet->sin_family = AF_INET;
    inet->sin_port = htons(port);
    inet->sin_addr.s_addr = address->data.ipv4.address;  // network byte order already
    outcome->addresses.push_back(storage);
    outcome->status = ResolveStatus::kResolved;
}

}  // namespace

ResolveStatus resolveService(const std::string& name, const std::string& type,
                             const std::string& domain, std::chrono::milliseconds timeout,
                             std::vector<sockaddr_storage>* addresses) {
    if (name.empty() || type.empty() || addresses == nullptr) {
        return ResolveStatus::kBadName;
    }
    const Clock::time_point deadline = Clock::now() + timeout;
    std::unique_ptr<AvahiSimplePoll, PollDeleter> poll(avahi_simple_poll_new());
    if (!poll) {
        return ResolveStatus::kNoDaemon;
    }
    Outcome outcome;
    int error = 0;
    std::unique_ptr<AvahiClient, ClientDeleter> client(
        avahi_client_new(avahi_simple_poll_get(poll.get()), static_cast<AvahiClientFlags>(0),
                         onClientState, &outcome, &error));
    if (!client) {
        return ResolveStatus::kNoDaemon;
    }
    std::unique_ptr<AvahiServiceResolver, ResolverDeleter> resolver(avahi_service_resolver_new(
        client.get(), AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, name.c_str(), type.c_str(),
        domain.empty() ? nullptr : domain.c_str(), AVAHI_PROTO_INET,
        static_cast<AvahiLookupFlags>(0), onResolved, &outcome));
    if (!resolver) {
        return avahi_client_errno(client.get()) == AVAHI_ERR_INVALID_SERVICE_NAME ||
                       avahi_client_errno(client.get()) == AVAHI_ERR_INVALID_SERVICE_TYPE ||
                       avahi_client_errno(client.get()) == AVAHI_ERR_INVALID_DOMAIN_NAME
                   ? ResolveStatus::kBadName
                   : ResolveStatus::kNotResolved;
    }
    while (!outcome.done) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return ResolveStatus::kTimedOut;
        }
        if (avahi_simple_poll_iterate(poll.get(), static_cast<int>(left.count())) != 0) {
            return ResolveStatus::kNoDaemon;
        }
    }
    if (outcome.status == ResolveStatus::kResolved) {
        *addresses = std::move(outcome.addresses);
    }
    return outcome.status;
}

}  // namespace t48::dnssd
