// Taking a device URI apart (libcups) and finding the printer address in it.

#include "device-address.hpp"

#include <arpa/inet.h>
#include <cups/http.h>
#include <glib.h>
#include <netinet/in.h>

#include <cstdio>

#include "dnssd-resolve.hpp"

namespace t48::pde {

namespace {

constexpr char kWalkCommunity[] = "fennel";
constexpr char kWalkRoot[] = "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1";
constexpr char kModelName[] = "T48";
constexpr std::size_t kBonjourElements = 4;

struct URIParts {
    std::string host;
    int port = 0;
    bool portWritten = false;
};

std::optional<URIParts> separate(const std::string& uri) {
    char scheme[32];
    char user[256];
    char host[1024];
    char resource[1024];
    URIParts parts;
    http_uri_status_t status =
        httpSeparateURI(HTTP_URI_CODING_NONE, uri.c_str(), scheme, sizeof scheme, user, sizeof user,
                        host, sizeof host, &parts.port, resource, sizeof resource);
    if (status < HTTP_URI_STATUS_OK || host[0] == '\0') {
        return std::nullopt;
    }
    parts.host = host;
    // libcups fills in the scheme's default port; the location keeps only a written one.
    std::size_t begin = uri.find("://");
    if (begin == std::string::npos) {
        return parts;
    }
    std::size_t end = uri.find_first_of("/?#", begin + 3);
    std::string authority = uri.substr(begin + 3, end == std::string::npos ? end : end - begin - 3);
    std::size_t colon = authority.rfind(':');
    parts.portWritten = colon != std::string::npos &&
                        authority.find(']', colon) == std::string::npos &&
                        colon + 1 < authority.size();
    return parts;
}

std::vector<std::string> splitAtDots(const std::string& text) {
    std::vector<std::string> elements;
    std::size_t start = 0;
    for (std::size_t dot = text.find('.'); dot != std::string::npos; dot = text.find('.', start)) {
        elements.push_back(text.substr(start, dot - start));
        start = dot + 1;
    }
    elements.push_back(text.substr(start));
    return elements;
}

std::optional<std::string> percentDecoded(const std::string& text) {
    gchar* decoded = g_uri_unescape_string(text.c_str(), nullptr);
    if (decoded == nullptr) {
        return std::nullopt;
    }
    std::string out(decoded);
    g_free(decoded);
    return out;
}

// The first resolved address as dotted IPv4 text; nothing when the service does not
// resolve in time or its first address is not IPv4.
std::optional<std::string> resolveBonjourAddress(const BonjourService& service) {
    std::vector<sockaddr_storage> addresses;
    if (dnssd::resolveService(service.name, service.type, service.domain, kBonjourResolveTimeout,
                              &addresses) != dnssd::ResolveStatus::kResolved ||
        addresses.empty() || addresses.front().ss_family != AF_INET) {
        return std::nullopt;
    }
    const auto* inet = reinterpret_cast<const sockaddr_in*>(&addresses.front());
    const auto* bytes = reinterpret_cast<const unsigned char*>(&inet->sin_addr);
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
    return std::string(text);
}

}  // namespace

std::optional<std::string> uriHostAsWritten(const std::string& uri) {
    std::optional<URIParts> parts = separate(uri);
    if (!parts) {
        return std::nullopt;
    }
    return parts->host;
}

std::optional<std::string> uriNetworkLocation(const std::string& uri) {
    std::optional<URIParts> parts = separate(uri);
    if (!parts) {
        return std::nullopt;
    }
    return parts->portWritten ? parts->host + ":" + std::to_string(parts->port) : parts->host;
}

std::optional<BonjourService> bonjourServiceFromHost(const std::string& host) {
    std::vector<std::string> elements = splitAtDots(host);
    if (elements.size() < kBonjourElements) {
        return std::nullopt;
    }
    std::optional<std::string> name = percentDecoded(elements[0]);
    if (!name || name->empty()) {
        return std::nullopt;
    }
    return BonjourService{*name, elements[1] + "." + elements[2], elements[3]};
}

std::optional<std::string> walkHostFromAddress(const std::string& address) {
    std::string host = address.substr(0, address.find(':'));
    if (host.empty() || host.size() > kPrinterAddressMaxBytes || host.front() == '-') {
        return std::nullopt;
    }
    for (unsigned char c : host) {
        if (c <= 0x20 || c >= 0x7F) {
            return std::nullopt;
        }
    }
    return host;
}

std::optional<std::string> printerAddressForURI(const std::string& uri, int16_t protocol) {
    if (protocol == kProtocolBonjour) {
        std::optional<std::string> host = uriHostAsWritten(uri);
        std::optional<BonjourService> service = host ? bonjourServiceFromHost(*host) : std::nullopt;
        return service ? resolveBonjourAddress(*service) : std::nullopt;
    }
    if (protocol == kProtocolLPD) {
        return uriNetworkLocation(uri);
    }
    return std::nullopt;
}

std::vector<std::string> walkRequestArguments(const std::string& user, const std::string& host) {
    return {kModelName, user, "snmpwalk", "-Os", "-c", kWalkCommunity, "-v", "1", host, kWalkRoot};
}

}  // namespace t48::pde
