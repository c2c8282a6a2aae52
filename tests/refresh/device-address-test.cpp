// Device URIs to protocol types and printer addresses (libcups takes the URIs apart).

#include <gtest/gtest.h>

#include <chrono>

#include "device-address.hpp"
#include "pde-common.hpp"

namespace t48::pde {
namespace {

struct ProtocolCase {
    const char* uri;
    int16_t type;
};

class ProtocolByUrl : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(ProtocolByUrl, ClassifiesByPrefix) {
    EXPECT_EQ(PDECommon::commoniGetProtocolByUrl(GetParam().uri), GetParam().type)
        << (GetParam().uri ? GetParam().uri : "(null)");
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, ProtocolByUrl,
    ::testing::Values(ProtocolCase{"mdns://Printer._pdl-datastream._tcp.local./", 1},
                      ProtocolCase{"dnssd://Printer._ipp._tcp.local./?uuid=1", 1},
                      ProtocolCase{"lpd://192.168.1.20:515/queue", 0},
                      ProtocolCase{"pap://zone/printer", 2}, ProtocolCase{"usb://ORVELL/T48", 3},
                      ProtocolCase{"ipp://printer/ipp/print", -1},
                      ProtocolCase{"socket://printer:9100", -1},
                      ProtocolCase{"LPD://printer/queue", -1},  // case-sensitive
                      ProtocolCase{"lpd:/printer", -1}, ProtocolCase{"", -1},
                      ProtocolCase{nullptr, -1}));

TEST(ProtocolOfSession, NeedsASessionAPrinterAndItsURI) {
    EXPECT_EQ(PDECommon::commoniGetProtocol(nullptr), -1);
    cf::PrintSession noPrinter;
    EXPECT_EQ(PDECommon::commoniGetProtocol(&noPrinter), -1);
    cf::PrintSession noURI(cf::Printer("T48Q", ""));
    EXPECT_EQ(PDECommon::commoniGetProtocol(&noURI), -1);
    cf::PrintSession usb(cf::Printer("T48Q", "usb://ORVELL/T48?serial=1"));
    EXPECT_EQ(PDECommon::commoniGetProtocol(&usb), kProtocolUSB);
    cf::PrintSession lpd(cf::Printer("T48Q", "lpd://10.0.0.1/q"));
    EXPECT_EQ(PDECommon::commoniGetProtocol(&lpd), kProtocolLPD);
}

struct AddressCase {
    const char* uri;
    const char* walkHost;  // nullptr: no walk
};

class LpdAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(LpdAddress, IsTheNetworkLocationWithoutPort) {
    std::optional<std::string> address = printerAddressForURI(GetParam().uri, kProtocolLPD);
    std::optional<std::string> host = address ? walkHostFromAddress(*address) : std::nullopt;
    if (GetParam().walkHost == nullptr) {
        EXPECT_FALSE(host) << GetParam().uri << " gave " << *host;
    } else {
        ASSERT_TRUE(host) << GetParam().uri;
        EXPECT_EQ(*host, GetParam().walkHost);
    }
}

INSTANTIATE_TEST_SUITE_P(
    URIs, LpdAddress,
    ::testing::Values(AddressCase{"lpd://192.168.1.20:515/queue", "192.168.1.20"},
                      AddressCase{"lpd://192.168.1.20/queue", "192.168.1.20"},
                      AddressCase{"lpd://user@printer.example:1515/q?x=1", "printer.example"},
                      AddressCase{"lpd:///queue", nullptr},
                      // Would be taken for an option of the walk's command line.
                      AddressCase{"lpd://-Ddump/queue", nullptr},
                      // IPv6 literals are walked over UDP on IPv6, never cut at a ':'.
                      AddressCase{"lpd://[::1]:515/queue", "udp6:[::1]"},
                      AddressCase{"lpd://[2001:db8::5]:515/q", "udp6:[2001:db8::5]"},
                      AddressCase{"lpd://[2001:DB8::5]/q", "udp6:[2001:db8::5]"},
                      AddressCase{"lpd://[fe80::1%25lo]/q", "udp6:[fe80::1%lo]"},
                      AddressCase{"lpd://[FE80::1%25Eth0]:515/q", "udp6:[fe80::1%Eth0]"},
                      AddressCase{"lpd://[fe80::1%lo]/q", nullptr},  // zone not escaped
                      AddressCase{"lpd://[fe80::1%25]/q", nullptr},  // empty zone
                      AddressCase{"lpd://[fe80::1%25a%2Fb]/q", nullptr},
                      AddressCase{"lpd://[12345::1]/q", nullptr},
                      AddressCase{"lpd://[v1.x]/q", nullptr},
                      // Empty, named and out-of-range ports: the walk goes to the SNMP port.
                      AddressCase{"lpd://printer.example:/q", "printer.example"},
                      AddressCase{"lpd://printer.example:lpt/q", "printer.example"},
                      AddressCase{"lpd://10.0.0.1:99999/q", "10.0.0.1"},
                      AddressCase{"lpd://[::1]:/q", "udp6:[::1]"}));

TEST(NetworkLocation, KeepsAPortOnlyWhenTheURIWritesOne) {
    EXPECT_EQ(uriNetworkLocation("lpd://192.168.1.20:515/queue"), "192.168.1.20:515");
    EXPECT_EQ(uriNetworkLocation("lpd://192.168.1.20/queue"), "192.168.1.20");
    EXPECT_EQ(uriNetworkLocation("lpd://[2001:db8::5]:515/q"), "[2001:db8::5]:515");
    EXPECT_EQ(uriNetworkLocation("lpd://u@host:lpt/q"), "host:lpt");
    EXPECT_FALSE(uriNetworkLocation("not a uri"));
}

TEST(WalkHost, IsAtMost254PrintableBytes) {
    EXPECT_EQ(walkHostFromAddress(std::string(254, 'h')), std::string(254, 'h'));
    EXPECT_FALSE(walkHostFromAddress(std::string(255, 'h')));
    EXPECT_FALSE(walkHostFromAddress(":515"));
    EXPECT_FALSE(walkHostFromAddress("caf\xc3\xa9"));
    EXPECT_EQ(walkHostFromAddress("10.1.2.3:515:99"), "10.1.2.3");
}

TEST(BonjourHost, SplitsIntoNameTypeAndDomain) {
    std::optional<std::string> host =
        uriHostAsWritten("mdns://Printer%20Name._pdl-datastream._tcp.local./");
    ASSERT_TRUE(host);
    EXPECT_EQ(*host, "Printer%20Name._pdl-datastream._tcp.local.");
    std::optional<BonjourService> service = bonjourServiceFromHost(*host);
    ASSERT_TRUE(service);
    EXPECT_EQ(service->name, "Printer Name");
    EXPECT_EQ(service->type, "_pdl-datastream._tcp");
    EXPECT_EQ(service->domain, "local");
    // An escaped dot stays inside the name.
    service = bonjourServiceFromHost("Office%2E2._ipp._tcp.local");
    ASSERT_TRUE(service);
    EXPECT_EQ(service->name, "Office.2");
}

TEST(BonjourHost, RefusesFewerThanFourElementsAndBadEscapes) {
    EXPECT_FALSE(bonjourServiceFromHost("Printer._ipp._tcp"));
    EXPECT_FALSE(bonjourServiceFromHost("Printer"));
    EXPECT_FALSE(bonjourServiceFromHost("Bad%2._ipp._tcp.local"));
    EXPECT_FALSE(bonjourServiceFromHost("._ipp._tcp.local"));
    // Ends without a resolve: no time-out to wait for.
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(printerAddressForURI("dnssd://Printer._ipp._tcp/", kProtocolBonjour));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(WalkRequest, IsTheModelTheUserAndTheEightWalkArguments) {
    EXPECT_EQ(walkRequestArguments("alice", "10.0.0.9"),
              (std::vector<std::string>{"T48", "alice", "snmpwalk", "-Os", "-c", "fennel", "-v",
                                        "1", "10.0.0.9", "1.3.6.1.4.1.47193.1.1.1.1.6.13.1.1"}));
}

}  // namespace
}  // namespace t48::pde
