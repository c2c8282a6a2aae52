#pragma once
// The listener of the service: accepts connections on a Unix-domain stream socket and gives
// each one its own exported object. Requests on one connection are served one after
// another, in order; connections are served at the same time, each on its own thread, so an
// idle or stalled peer never delays another.

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

namespace t48::xpc {

// Who is on the other end of a connection, as the kernel reports it (SO_PEERCRED).
struct PeerCredentials {
    pid_t pid = -1;
    uid_t uid = static_cast<uid_t>(-1);
    gid_t gid = static_cast<gid_t>(-1);
};

class ExportedObject {
public:
    virtual ~ExportedObject() = default;
    // Serves one request. False when `method` is not part of the exported interface: the
    // connection is then dropped without a reply.
    virtual bool invoke(const std::string& method, const std::string& request,
                        std::string* reply) = 0;
};

class ListenerDelegate {
public:
    virtual ~ListenerDelegate() = default;
    // The exported object for a new connection, or null to refuse the peer.
    virtual std::unique_ptr<ExportedObject> shouldAcceptNewConnection(
        const PeerCredentials& peer) = 0;
};

class Listener {
public:
    // Connections beyond this many at once are closed as soon as they are accepted.
    static constexpr int kMaxConnections = 1024;

    // Owns `listeningFd`; removes `boundPath` (if not empty) when it goes.
    Listener(int listeningFd, std::string boundPath);
    ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // The service's listener: the socket systemd passed, else one bound at
    // serviceSocketPath(). Null with `error` set when neither can be had.
    static std::unique_ptr<Listener> serviceListener(std::string* error);

    void setDelegate(ListenerDelegate* delegate) { delegate_ = delegate; }

    // Serves until `stopFd` becomes readable, then stops accepting, ends every connection
    // once its running request is answered, and returns 0 (-1 when accepting failed).
    int resume(int stopFd);

    int activeConnections() const { return active_.load(); }

private:
    void serveConnection(int fd, std::unique_ptr<ExportedObject> exported);
    void startConnection(int fd);

    int listeningFd_;
    std::string boundPath_;
    ListenerDelegate* delegate_ = nullptr;
    int shutdownFd_ = -1;  // eventfd, readable once the listener is stopping
    std::atomic<int> active_{0};
    std::mutex mutex_;
    std::condition_variable allEnded_;
};

}  // namespace t48::xpc
