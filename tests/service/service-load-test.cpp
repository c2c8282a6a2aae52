// Load: 64 idle clients and 64 clients sending one byte a second stay connected while a
// well-behaved client's requests are answered. Timings are reported, not asserted, beyond
// a generous sanity bound.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iostream>
#include <thread>

#include "service-fixture.hpp"
#include "xpc-connection.hpp"
#include "xpc-socket.hpp"

namespace t48::testing {
namespace {

constexpr int kIdleClients = 64;
constexpr int kSlowClients = 64;
constexpr int kRequests = 60;
// Far above any answer a healthy service gives; only a client stuck behind another trips it.
constexpr auto kSanityBound = std::chrono::seconds(2);

class ServiceLoad : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(root_.startService()); }
    ServiceRoot root_;
};

TEST_F(ServiceLoad, IdleAndTricklingClientsDoNotDelayAWellBehavedOne) {
    std::vector<std::unique_ptr<xpc::ServiceConnection>> idle;
    for (int i = 0; i < kIdleClients; ++i) {
        idle.push_back(std::make_unique<xpc::ServiceConnection>());
        ASSERT_TRUE(idle.back()->open(root_.socketPath()));
    }
    std::vector<int> slow;
    for (int i = 0; i < kSlowClients; ++i) {
        slow.push_back(xpc::connectServiceSocket(root_.socketPath()));
        ASSERT_GE(slow.back(), 0);
    }
    // Each trickling client announces a 100-byte frame and sends it one byte a second.
    std::atomic<bool> done{false};
    std::thread trickle([&] {
        const unsigned char frame[4] = {0, 0, 0, 100};
        for (int second = 0; !done.load(); ++second) {
            for (int fd : slow) {
                unsigned char byte = second < 4 ? frame[second] : 'x';
                (void)!send(fd, &byte, 1, MSG_NOSIGNAL);
            }
            for (int i = 0; i < 10 && !done.load(); ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));

    writeFile(root_.currentPath(), "x");
    std::vector<double> milliseconds;
    xpc::ServiceConnection good;
    ASSERT_TRUE(good.open(root_.socketPath()));
    for (int i = 0; i < kRequests; ++i) {
        // Every third request on a fresh connection: accepting must not wait either.
        if (i % 3 == 0) {
            ASSERT_TRUE(good.open(root_.socketPath()));
        }
        std::string reply;
        auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(good.call("ztPListExistProfile_XPC", root_.currentPath(), &reply),
                  xpc::CallStatus::kOK);
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(reply, "TRUE");
        EXPECT_LT(took, kSanityBound) << "request " << i;
        milliseconds.push_back(std::chrono::duration<double, std::milli>(took).count());
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    done = true;
    trickle.join();
    for (int fd : slow) {
        close(fd);
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::cout << "good client under load: median " << milliseconds[milliseconds.size() / 2]
              << " ms, max " << milliseconds.back() << " ms over " << kRequests << " requests\n";
    RecordProperty("medianMs", std::to_string(milliseconds[milliseconds.size() / 2]));
    RecordProperty("maxMs", std::to_string(milliseconds.back()));
    EXPECT_TRUE(root_.service()->running());
}

}  // namespace
}  // namespace t48::testing
