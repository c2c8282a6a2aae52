// The refresh of Bonjour queues against a real Avahi daemon. The test runs in network
// and mount namespaces of its own: a private loopback (brought up here), a private
// system bus (dbus-daemon with a configuration of its own) and a private
// /run/avahi-daemon, so the daemon cannot meet any other on the machine. The printer
// (real snmpd with t48-printer-sim) is published under a Bonjour name at 127.0.8.40.

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

#include "helper-doubles.hpp"
#include "service-fixture.hpp"
#include "snmpd-printer.hpp"

namespace t48::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kPrinterAddress[] = "127.0.8.40";
constexpr char kServiceName[] = "T48 Office";
constexpr char kServiceType[] = "_pdl-datastream._tcp";

const std::vector<std::string> kEnglish = {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL="};

// Enters fresh network and mount namespaces; an empty text on success, else why not.
std::string enterPrivateNamespaces() {
    if (unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        return std::string("unshare: ") + std::strerror(errno);
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        return std::string("private mounts: ") + std::strerror(errno);
    }
    mkdir("/run/avahi-daemon", 0755);
    if (mount("tmpfs", "/run/avahi-daemon", "tmpfs", 0, "mode=0755") != 0) {
        return std::string("tmpfs on /run/avahi-daemon: ") + std::strerror(errno);
    }
    RunResult up = runProgram({"/usr/sbin/ip", "link", "set", "lo", "up"});
    return up.exitStatus == 0 ? std::string() : "ip link set lo up: " + up.err;
}

bool waitForText(const std::string& path, const std::string& text, std::chrono::seconds limit) {
    for (auto end = Clock::now() + limit; Clock::now() < end; std::this_thread::sleep_for(10ms)) {
        if (readFile(path).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

class BonjourRefresh : public ::testing::Test {
protected:
    // Each suite (the derived one too) gets fresh namespaces and daemons.
    static void SetUpTestSuite() {
        namespaceError_ = new std::string(enterPrivateNamespaces());
        if (!namespaceError_->empty()) {
            return;
        }
        dir_ = new TempDir;
        std::ofstream(dir_->file("bus.conf"))
            << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
               "1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>system</type><listen>unix:path="
            << dir_->file("bus")
            << "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow user=\"*\"/>"
               "<allow own=\"*\"/><allow send_destination=\"*\"/><allow receive_sender=\"*\"/>"
               "</policy></busconfig>\n";
        std::ofstream(dir_->file("avahi.conf"))
            << "[server]\nhost-name=t48-bonjour-test\ndomain-name=local\nuse-ipv4=yes\n"
               "use-ipv6=no\nenable-dbus=yes\n[wide-area]\nenable-wide-area=no\n"
               "[publish]\npublish-addresses=no\npublish-hinfo=no\npublish-workstation=no\n";
        bus_ = new ChildProcess({"/usr/bin/dbus-daemon", "--config-file=" + dir_->file("bus.conf"),
                                 "--nofork", "--nopidfile"},
                                {}, dir_->file("bus.log"));
        for (auto end = Clock::now() + 10s; !fileExists(dir_->file("bus")) && Clock::now() < end;) {
            std::this_thread::sleep_for(10ms);
        }
        avahi_ = new ChildProcess({"/usr/sbin/avahi-daemon", "--no-drop-root", "--no-chroot",
                                   "--no-rlimits", "-f", dir_->file("avahi.conf")},
                                  busEnvironment(), dir_->file("avahi.log"));
        waitForText(dir_->file("avahi.log"), "Server startup complete", 10s);
        addressRecord_ = new ChildProcess(
            {"/usr/bin/avahi-publish", "-a", "-R", "t48-printer.local", kPrinterAddress},
            busEnvironment(), dir_->file("address.log"));
        serviceRecord_ = new ChildProcess({"/usr/bin/avahi-publish", "-s", "-H",
                                           "t48-printer.local", kServiceName, kServiceType, "9100"},
                                          busEnvironment(), dir_->file("service.log"));
        published_ = waitForText(dir_->file("address.log"), "Established", 10s) &&
                     waitForText(dir_->file("service.log"), "Established", 10s);
    }
    static void TearDownTestSuite() {
        delete serviceRecord_;
        delete addressRecord_;
        delete avahi_;
        delete bus_;
        delete dir_;
        delete namespaceError_;
        serviceRecord_ = addressRecord_ = avahi_ = bus_ = nullptr;
        dir_ = nullptr;
        namespaceError_ = nullptr;
    }
    static std::vector<std::string> busEnvironment() {
        return {"DBUS_SYSTEM_BUS_ADDRESS=unix:path=" + dir_->file("bus")};
    }

    void SetUp() override {
        ASSERT_TRUE(namespaceError_->empty())
            << "no private namespaces for Avahi: " << *namespaceError_;
        ASSERT_TRUE(published_) << "Avahi did not publish the printer:\n"
                                << readFile(dir_->file("avahi.log"));
        ASSERT_TRUE(root_.startService());
        installSpy(root_.helperPath(), moveHelperAside(root_.helperPath()), log());
    }

    RunResult pdehost(const std::string& deviceURI) {
        std::vector<std::string> env = root_.environment();
        env.insert(env.end(), kEnglish.begin(), kEnglish.end());
        std::vector<std::string> bus = busEnvironment();
        env.insert(env.end(), bus.begin(), bus.end());
        return runProgram(
            {binaryDir() + "/host/pdehost", "--ppd", sourceDir() + "/PDE/Resources/T48.ppd",
             "--printer", "T48_Bonjour", "--device-uri", deviceURI},
            env);
    }
    std::string log() const { return root_.root() + "/helper-runs.log"; }

    static std::string* namespaceError_;
    static TempDir* dir_;
    static ChildProcess* bus_;
    static ChildProcess* avahi_;
    static ChildProcess* addressRecord_;
    static ChildProcess* serviceRecord_;
    static bool published_;
    ServiceRoot root_;
};

std::string* BonjourRefresh::namespaceError_ = nullptr;
TempDir* BonjourRefresh::dir_ = nullptr;
ChildProcess* BonjourRefresh::bus_ = nullptr;
ChildProcess* BonjourRefresh::avahi_ = nullptr;
ChildProcess* BonjourRefresh::addressRecord_ = nullptr;
ChildProcess* BonjourRefresh::serviceRecord_ = nullptr;
bool BonjourRefresh::published_ = false;

class PublishedQueue : public BonjourRefresh, public ::testing::WithParamInterface<const char*> {};

TEST_P(PublishedQueue, IsResolvedAndItsPrinterWalked) {
    TempDir printerDir;
    SnmpdPrinter printer(printerDir.path(), kPrinterAddress, 161, generatedRows(20));
    ASSERT_TRUE(printer.started()) << "snmpd did not come up on " << printer.peer();

    RunResult session = pdehost(GetParam());
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    std::vector<std::string> runs = loggedRuns(log());
    EXPECT_NE(std::find(runs.begin(), runs.end(), std::string("mibwalk_XPC ") + kPrinterAddress),
              runs.end())
        << "no walk of the resolved address";
    EXPECT_FALSE(printer.requestLog().empty()) << "the printer was never asked";
    EXPECT_NE(readFile(root_.currentPath()).find("PROF20.ICC"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, PublishedQueue,
    ::testing::Values("mdns://T48%20Office._pdl-datastream._tcp.local./",
                      "dnssd://T48%20Office._pdl-datastream._tcp.local./?uuid=0c7f4ae2-1"));

TEST_F(BonjourRefresh, NameNobodyPublishesEndsTheRefreshAfterTheResolveTimeOut) {
    const auto start = Clock::now();
    RunResult session = pdehost("mdns://Nobody%20Here._pdl-datastream._tcp.local./");
    const auto took = Clock::now() - start;
    ASSERT_EQ(session.exitStatus, 0) << session.err;
    std::vector<std::string> runs = loggedRuns(log());
    EXPECT_NE(std::find(runs.begin(), runs.end(), "ztPListSwapProfile_XPC"), runs.end());
    for (const std::string& run : runs) {
        EXPECT_NE(run.rfind("mibwalk_XPC", 0), 0u) << "walked: " << run;
    }
    // The session waited out the resolve (one second) and did not hang beyond it.
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 30s);
    RecordProperty(
        "unresolved_session_ms",
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
}

}  // namespace
}  // namespace t48::testing
