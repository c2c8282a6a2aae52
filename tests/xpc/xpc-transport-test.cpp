// The transport on its own: a real Listener on a socket of the test's own, serving an
// exported object of the test's (echo, and a request that waits for the test to release
// it), with real client connections.

#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "child-process.hpp"
#include "xpc-connection.hpp"
#include "xpc-frame.hpp"
#include "xpc-listener.hpp"
#include "xpc-socket.hpp"

namespace t48::xpc {
namespace {

using namespace std::chrono_literals;

// Echoes "<method>:<request>"; "hold" waits until the test releases it; "unknown" is not
// part of the interface.
class EchoObject : public ExportedObject {
public:
    explicit EchoObject(struct Gate* gate) : gate_(gate) {}
    bool invoke(const std::string& method, const std::string& request, std::string* reply) override;

private:
    Gate* gate_;
};

struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int waiting = 0;
};

bool EchoObject::invoke(const std::string& method, const std::string& request, std::string* reply) {
    if (method == "unknown") {
        return false;
    }
    if (method == "hold") {
        std::unique_lock lock(gate_->mutex);
        ++gate_->waiting;
        gate_->changed.notify_all();
        gate_->changed.wait(lock, [this] { return gate_->open; });
    }
    *reply = method + ":" + request;
    return true;
}

class EchoDelegate : public ListenerDelegate {
public:
    explicit EchoDelegate(Gate* gate) : gate_(gate) {}
    std::unique_ptr<ExportedObject> shouldAcceptNewConnection(
        const PeerCredentials& peer) override {
        lastPeer = peer;
        if (refuseAll) {
            return nullptr;
        }
        return std::make_unique<EchoObject>(gate_);
    }
    bool refuseAll = false;
    PeerCredentials lastPeer;

private:
    Gate* gate_;
};

class Transport : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        int fd = bindServiceSocket(socketPath(), &error);
        ASSERT_GE(fd, 0) << error;
        listener_ = std::make_unique<Listener>(fd, socketPath());
        listener_->setDelegate(&delegate_);
        stopFd_ = eventfd(0, EFD_CLOEXEC);
        serving_ = std::thread([this] { resumeResult_ = listener_->resume(stopFd_); });
    }
    void TearDown() override {
        openGate();
        stop();
        close(stopFd_);
    }
    void stop() {
        if (serving_.joinable()) {
            uint64_t one = 1;
            (void)!write(stopFd_, &one, sizeof one);
            serving_.join();
        }
    }
    void openGate() {
        std::lock_guard lock(gate_.mutex);
        gate_.open = true;
        gate_.changed.notify_all();
    }
    std::string socketPath() const { return dir_.path() + "/sock/xpc.sock"; }

    // Seconds until the service closes `fd`, reading (and discarding) whatever comes.
    static double secondsUntilClosed(int fd) {
        auto start = std::chrono::steady_clock::now();
        char buffer[256];
        while (read(fd, buffer, sizeof buffer) > 0) {
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    testing::TempDir dir_;
    Gate gate_;
    EchoDelegate delegate_{&gate_};
    std::unique_ptr<Listener> listener_;
    int stopFd_ = -1;
    int resumeResult_ = -1;
    std::thread serving_;
};

TEST_F(Transport, RequestsOnOneConnectionAreAnsweredInOrder) {
    int fd = connectServiceSocket(socketPath());
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(writeFrame(fd, encodeRequest("m", std::to_string(i))));
    }
    for (int i = 0; i < 20; ++i) {
        std::string reply;
        ASSERT_EQ(readFrame(fd, &reply, -1, 5000), FrameStatus::kOK);
        EXPECT_EQ(reply, "m:" + std::to_string(i));
    }
    close(fd);
}

TEST_F(Transport, ABusyConnectionDoesNotHoldUpAnother) {
    ServiceConnection busy;
    ASSERT_TRUE(busy.open(socketPath()));
    std::string held;
    std::thread holder([&] { busy.call("hold", "1", &held); });
    {
        std::unique_lock lock(gate_.mutex);
        gate_.changed.wait(lock, [this] { return gate_.waiting == 1; });
    }
    ServiceConnection other;
    ASSERT_TRUE(other.open(socketPath()));
    std::string reply;
    EXPECT_EQ(other.call("echo", "meanwhile", &reply), CallStatus::kOK);
    EXPECT_EQ(reply, "echo:meanwhile");
    EXPECT_EQ(held, "") << "the held request was answered before it was released";
    openGate();
    holder.join();
    EXPECT_EQ(held, "hold:1");
}

TEST_F(Transport, BinaryRequestsCrossUnchanged) {
    ServiceConnection connection;
    ASSERT_TRUE(connection.open(socketPath()));
    std::string body("a\0b\xff:AddURL:END", 16);
    std::string reply;
    ASSERT_EQ(connection.call("m", body, &reply), CallStatus::kOK);
    EXPECT_EQ(reply, "m:" + body);
}

TEST_F(Transport, AnOversizedFrameIsRefusedFromItsHeader) {
    int fd = connectServiceSocket(socketPath());
    ASSERT_GE(fd, 0);
    uint32_t length = static_cast<uint32_t>(kMaxFrameBytes) + 1;
    unsigned char header[4] = {
        static_cast<unsigned char>(length >> 24), static_cast<unsigned char>(length >> 16),
        static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length)};
    ASSERT_EQ(send(fd, header, 4, MSG_NOSIGNAL), 4);
    // Closed without waiting for the body (which never comes) and long before a stall.
    EXPECT_LT(secondsUntilClosed(fd), 3.0);
    close(fd);
    ServiceConnection connection;
    ASSERT_TRUE(connection.open(socketPath()));
    std::string reply;
    EXPECT_EQ(connection.call("m", std::string(kMaxFrameBytes, 'x'), &reply),
              CallStatus::kTooLarge);
    EXPECT_EQ(connection.call("m", std::string(kMaxFrameBytes - 100, 'x'), &reply),
              CallStatus::kOK);
}

TEST_F(Transport, AClientStalledMidRequestIsDropped) {
    int fd = connectServiceSocket(socketPath());
    ASSERT_GE(fd, 0);
    unsigned char partial[2] = {0, 0};
    ASSERT_EQ(send(fd, partial, 2, MSG_NOSIGNAL), 2);
    double seconds = secondsUntilClosed(fd);
    EXPECT_GT(seconds, 4.0);
    EXPECT_LT(seconds, 15.0);
    close(fd);
}

TEST_F(Transport, UnknownMethodsAndRefusedPeersGetNoReply) {
    ServiceConnection connection;
    ASSERT_TRUE(connection.open(socketPath()));
    std::string reply;
    EXPECT_EQ(connection.call("unknown", "x", &reply), CallStatus::kDropped);
    EXPECT_EQ(delegate_.lastPeer.uid, geteuid());
    EXPECT_EQ(delegate_.lastPeer.pid, getpid());
    delegate_.refuseAll = true;
    ASSERT_TRUE(connection.open(socketPath()));
    EXPECT_EQ(connection.call("echo", "x", &reply), CallStatus::kDropped);
}

TEST_F(Transport, StoppingEndsIdleConnectionsAndRemovesTheSocket) {
    ServiceConnection idle;
    ASSERT_TRUE(idle.open(socketPath()));
    std::string reply;
    ASSERT_EQ(idle.call("echo", "x", &reply), CallStatus::kOK);
    stop();
    EXPECT_EQ(resumeResult_, 0);
    EXPECT_EQ(listener_->activeConnections(), 0);
    listener_.reset();
    struct stat info;
    EXPECT_NE(lstat(socketPath().c_str(), &info), 0);
}

TEST(SocketPath, EnvironmentChoosesTheSocket) {
    setenv("T48_XPC_SOCKET", "/tmp/explicit.sock", 1);
    setenv("XDG_RUNTIME_DIR", "/run/user/1000", 1);
    EXPECT_EQ(serviceSocketPath(), "/tmp/explicit.sock");
    unsetenv("T48_XPC_SOCKET");
    EXPECT_EQ(serviceSocketPath(), "/run/user/1000/t48/xpcservice.sock");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(serviceSocketPath(), "");
}

TEST(SocketPath, AMissingFolderIsCreatedForTheOwnerAlone) {
    testing::TempDir dir;
    std::string error;
    int fd = bindServiceSocket(dir.path() + "/t48/xpcservice.sock", &error);
    ASSERT_GE(fd, 0) << error;
    struct stat info;
    ASSERT_EQ(stat((dir.path() + "/t48").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    close(fd);
    EXPECT_LT(bindServiceSocket(dir.path() + "/" + std::string(200, 'x'), &error), 0);
}

TEST(FrameCodec, ARequestPayloadSplitsBackIntoMethodAndBody) {
    Request request;
    ASSERT_TRUE(decodeRequest(encodeRequest("method", "body:with:colons"), &request));
    EXPECT_EQ(request.method, "method");
    EXPECT_EQ(request.body, "body:with:colons");
    ASSERT_TRUE(decodeRequest(encodeRequest("", ""), &request));
    EXPECT_EQ(request.method, "");
    EXPECT_FALSE(decodeRequest(std::string("\0\0\0\x09short", 9), &request));
    EXPECT_FALSE(decodeRequest("ab", &request));
}

}  // namespace
}  // namespace t48::xpc
