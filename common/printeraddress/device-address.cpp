// Taking a device URI apart (libcups) and finding the printer address in it.

#include "device-address.hpp"

#include <arpa/inet.h>
#include <cups/http.h>
#include <glib.h>
#include <netinet/in.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "dnssd-resolve.hpp"

namespace t48::pde {

namespace {

constexpr char kWalkCommunity[] = "fennel";
constexpr char kWalkRoot[] = "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1";
constexpr char kModelName[] = "T48";
constexpr std::size_t kBonjourElements = 4;

constexpr char kIPv6Transport[] = "udp6:";
constexpr char kZoneEscape[] = "%25";  // the "%" before a zone index, as a URI writes it

struct URIParts {
    std::string host;      // as libcups gives it: an IPv6 literal without its brackets
    std::string portText;  // as written after the host's ":", possibly empty
    bool portWritten = false;
};

std::optional<URIParts> separate(const std::string& uri) {
    char scheme[32];
    char user[256];
    char host[1024];
    char resource[1024];
    int port = 0;
    host[0] = '\0';
    http_uri_status_t status =
        httpSeparateURI(HTTP_URI_CODING_NONE, uri.c_str(), scheme, sizeof scheme, user, sizeof user,
                        host, sizeof host, &port, resource, sizeof resource);
    // An empty or named port is legal in a URI, or harmless to the walk (which goes to
    // the SNMP port): libcups has taken the host apart before it refuses such a port.
    if ((status < HTTP_URI_STATUS_OK && status != HTTP_URI_STATUS_BAD_PORT) || host[0] == '\0') {
        return std::nullopt;
    }
    URIParts parts;
    parts.host = host;
    std::size_t begin = uri.find("://");
    if (begin == std::string::npos) {
        return parts;
    }
    std::size_t end = uri.find_first_of("/?#", begin + 3);
    std::string authority = uri.substr(begin + 3, end == std::string::npos ? end : end - begin - 3);
    const std::size_t at = authority.rfind('@');
    std::size_t hostEnd = at == std::string::npos ? 0 : at + 1;
    if (hostEnd < authority.size() && authority[hostEnd] == '[') {
        hostEnd = authority.find(']', hostEnd);
        hostEnd = hostEnd == std::string::npos ? authority.size() : hostEnd + 1;
    }
    const std::size_t colon = authority.find(':', hostEnd);
    parts.portWritten = colon != std::string::npos;
    if (parts.portWritten) {
        parts.portText = authority.substr(colon + 1);
    }
    return parts;
}

bool isZoneCharacter(unsigned char c) {
    return std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~';
}

// A bracketed IPv6 literal ("2001:db8::5", "fe80::1%25eth0") as net-snmp's peer for
// it: "udp6:[2001:db8::5]", "udp6:[fe80::1%eth0]". Nothing for a literal that is no
// IPv6 address or whose zone index is empty or holds other than unreserved characters.
std::optional<std::string> ipv6WalkHost(const std::string& literal) {
    const std::size_t percent = literal.find('%');
    std::string zone;
    if (percent != std::string::npos) {
        if (literal.compare(percent, std::strlen(kZoneEscape), kZoneEscape) != 0) {
            return std::nullopt;
        }
        zone = literal.substr(percent + std::strlen(kZoneEscape));
        if (zone.empty() || !std::all_of(zone.begin(), zone.end(), [](char c) {
                return isZoneCharacter(static_cast<unsigned char>(c));
            })) {
            return std::nullopt;
        }
    }
    in6_addr address{};
    char canonical[INET6_ADDRSTRLEN];
    if (inet_pton(AF_INET6, literal.substr(0, percent).c_str(), &address) != 1 ||
        inet_ntop(AF_INET6, &address, canonical, sizeof canonical) == nullptr) {
        return std::nullopt;
    }
    return std::string(kIPv6Transport) + "[" + canonical + (zone.empty() ? "" : "%" + zone) + "]";
}

// The walk host when it is sound text for the walk's command line.
std::optional<std::string> checkedWalkHost(const std::string& host) {
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
    // Only an IPv6 literal holds a ':'; the location writes it in its brackets.
    const std::string host =
        parts->host.find(':') != std::string::npos ? "[" + parts->host + "]" : parts->host;
    return parts->portWritten ? host + ":" + parts->portText : host;
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
    std::optional<std::string> host;
    if (!address.empty() && address.front() == '[') {
        const std::size_t close = address.find(']');
        host =
            close == std::string::npos ? std::nullopt : ipv6WalkHost(address.substr(1, close - 1));
    } else {
        host = address.substr(0, address.find(':'));
    }
    if (!host) {
        return std::nullopt;
    }
    return checkedWalkHost(*host);
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

std::optional<std::string> walkHostForURI(const std::string& uri) {
    std::optional<std::string> address = printerAddressForURI(uri, protocolOfURI(uri.c_str()));
    return address ? walkHostFromAddress(*address) : std::nullopt;
}

std::vector<std::string> walkArguments(const std::string& host) {
    return {"snmpwalk", "-Os", "-c", kWalkCommunity, "-v", "1", host, kWalkRoot};
}

std::vector<std::string> walkRequestArguments(const std::string& user, const std::string& host) {
    std::vector<std::string> arguments = {kModelName, user};
    for (std::string& argument : walkArguments(host)) {
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

}  // namespace t48::pde
