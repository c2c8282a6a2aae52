// The simulated printer's LPD side (t48-printer-lpd) spoken to by hand, as clients that
// misbehave: what its man page promises of silent clients and of file lengths.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

#include "lpd-printer.hpp"

namespace t48::testing {
namespace {

// A port of this program's printer address that its other tests leave free.
constexpr char kAddress[] = T48_PRINT_PRINTER;
constexpr int kPort = T48_PRINT_LPD_PORT + 2;

// One connection that asks to send a job to the queue "T48".
class LpdClient {
public:
    LpdClient() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(kPort);
        inet_pton(AF_INET, kAddress, &address.sin_addr);
        started_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                   command("\x02T48\n");
    }
    ~LpdClient() { hangUp(); }

    bool started() const { return started_; }
    bool send(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }
    // Sends `bytes` and reads the one-byte answer; true when it acknowledges.
    bool command(const std::string& bytes) {
        char answer = 1;
        return send(bytes) && recv(fd_, &answer, 1, 0) == 1 && answer == 0;
    }
    bool sendControlFile() {
        const std::string control = "Hhost\nPuser\nldfA001host\n";
        return command("\x02" + std::to_string(control.size()) + " cfA001host\n") &&
               command(control + std::string(1, '\0'));
    }
    // A data file announced with its length, then its bytes and the NUL after them.
    bool sendDataFile(const std::string& bytes) {
        return command("\x03" + std::to_string(bytes.size()) + " dfA001host\n") &&
               command(bytes + std::string(1, '\0'));
    }
    void hangUp() {
        if (fd_ >= 0) {
            close(fd_);
            fd_ = -1;
        }
    }

private:
    int fd_;
    bool started_ = false;
};

// The printer with a time-out of 1 second and files of at most 4096 bytes.
class LpdReceiver : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(printer_.started()); }
    // The jobs kept once the printer has had `settle` to decide on the connections.
    std::vector<ReceivedJob> jobsAfter(std::chrono::milliseconds settle) {
        std::this_thread::sleep_for(settle);
        return printer_.jobs();
    }
    LpdPrinter printer_{kAddress, kPort, {"--timeout", "1", "--max-file-bytes", "4096"}};
};

TEST_F(LpdReceiver, AClientThatFallsSilentAfterBothFilesLosesItsJob) {
    LpdClient silent;
    ASSERT_TRUE(silent.started() && silent.sendControlFile() && silent.sendDataFile("%!PS\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    silent.hangUp();  // long after the time-out
    LpdClient prompt;
    ASSERT_TRUE(prompt.started() && prompt.sendControlFile() && prompt.sendDataFile("%!PS 2\n"));
    prompt.hangUp();

    ASSERT_EQ(printer_.waitForJobs(1).size(), 1u) << "the client that closed keeps its job";
    const std::vector<ReceivedJob> jobs = jobsAfter(std::chrono::milliseconds(300));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].data, "%!PS 2\n");
}

TEST_F(LpdReceiver, ADataFileRunningToTheEndOfTheStreamMayNotPassTheLongestFile) {
    for (const size_t length : {size_t{4097}, size_t{4096}}) {
        LpdClient client;
        ASSERT_TRUE(client.started() && client.sendControlFile() &&
                    client.command("\x03"
                                   "0 dfA001host\n"));
        client.send(std::string(length, 'x'));  // the printer may hang up before the end
        client.hangUp();
    }
    ASSERT_EQ(printer_.waitForJobs(1).size(), 1u);
    const std::vector<ReceivedJob> jobs = jobsAfter(std::chrono::milliseconds(300));
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].data.size(), 4096u);
}

}  // namespace
}  // namespace t48::testing
