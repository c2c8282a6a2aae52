// Crash safety: the real xpcservice killed with SIGKILL at random moments while a client
// saves a full profile file over and over in chunks. After every kill the current file is
// one of the two complete files the client alternates between, byte for byte.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <thread>

#include "service-fixture.hpp"
#include "xpc-connection.hpp"

namespace t48::testing {
namespace {

constexpr int kKills = 400;

class ServiceCrash : public ::testing::Test {
protected:
    // Saves `texts` alternately until `stop_`; counts the renames the service confirmed.
    void saveLoop(const std::vector<std::string>& texts) {
        std::string url = ServiceRoot::fileURL(root_.currentPath());
        while (!stop_.load()) {
            xpc::ServiceConnection connection;
            if (!connection.open(root_.socketPath())) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            std::string reply;
            bool sent = true;
            std::size_t round = rounds_.fetch_add(1);
            for (const std::string& chunk : saveChunks(texts[round % texts.size()])) {
                sent = sent &&
                       connection.call("writeDataToPlistFile_XPC", url + ":AddURL:END" + chunk,
                                       &reply) == xpc::CallStatus::kOK &&
                       reply == "TRUE";
            }
            if (sent &&
                connection.call("writeDataToPlistFileRename_XPC", url, &reply) ==
                    xpc::CallStatus::kOK &&
                reply == "TRUE") {
                renames_.fetch_add(1);
            }
        }
    }

    ServiceRoot root_;
    std::atomic<bool> stop_{false};
    std::atomic<int> renames_{0};
    std::atomic<std::size_t> rounds_{0};  // saves begun, across restarts
};

TEST_F(ServiceCrash, KilledMidSaveLeavesAWholeCurrentFile) {
    const std::vector<std::string> texts = {fullProfileText(1), fullProfileText(2)};
    writeFile(root_.currentPath(), texts[0]);
    std::mt19937 random(48);
    std::uniform_int_distribution<int> delayMicroseconds(0, 60000);
    int wrong = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        ASSERT_TRUE(root_.startService()) << "start " << kill;
        stop_ = false;
        std::thread client([&] { saveLoop(texts); });
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        root_.service()->kill();
        stop_ = true;
        client.join();
        std::string current = readFile(root_.currentPath());
        if (current != texts[0] && current != texts[1]) {
            ++wrong;
            ADD_FAILURE() << "after kill " << kill << " the current file holds " << current.size()
                          << " bytes that are neither complete file";
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(renames_.load(), 0) << "no save ever completed: the kills tested nothing";
    std::cout << kKills << " kills, " << renames_.load() << " completed saves\n";
    RecordProperty("kills", kKills);
    RecordProperty("completedSaves", renames_.load());
}

}  // namespace
}  // namespace t48::testing
