#include "xpc-listener.hpp"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <thread>

#include "xpc-activation.hpp"
#include "xpc-frame.hpp"
#include "xpc-socket.hpp"

namespace t48::xpc {
namespace {

// A peer that does not read its reply for this long is dropped.
constexpr int kSendTimeoutSeconds = 5;

bool peerOf(int fd, PeerCredentials* peer) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return false;
    }
    peer->pid = credentials.pid;
    peer->uid = credentials.uid;
    peer->gid = credentials.gid;
    return true;
}

}  // namespace

Listener::Listener(int listeningFd, std::string boundPath)
    : listeningFd_(listeningFd), boundPath_(std::move(boundPath)) {
    shutdownFd_ = eventfd(0, EFD_CLOEXEC);
    int flags = fcntl(listeningFd_, F_GETFL);
    fcntl(listeningFd_, F_SETFL, flags | O_NONBLOCK);
}

Listener::~Listener() {
    if (listeningFd_ >= 0) {
        close(listeningFd_);
    }
    if (!boundPath_.empty()) {
        unlink(boundPath_.c_str());
    }
    if (shutdownFd_ >= 0) {
        close(shutdownFd_);
    }
}

std::unique_ptr<Listener> Listener::serviceListener(std::string* error) {
    int fd = activatedSocket();
    if (fd >= 0) {
        return std::make_unique<Listener>(fd, std::string());
    }
    std::string path = serviceSocketPath();
    if (path.empty()) {
        *error = "no socket: set T48_XPC_SOCKET or XDG_RUNTIME_DIR";
        return nullptr;
    }
    fd = bindServiceSocket(path, error);
    if (fd < 0) {
        return nullptr;
    }
    return std::make_unique<Listener>(fd, path);
}

int Listener::resume(int stopFd) {
    int result = 0;
    pollfd fds[2] = {{listeningFd_, POLLIN, 0}, {stopFd, POLLIN, 0}};
    for (;;) {
        int ready = poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (fds[1].revents & POLLIN) != 0) {
            result = ready < 0 ? -1 : 0;
            break;
        }
        if ((fds[0].revents & (POLLERR | POLLNVAL)) != 0) {
            result = -1;
            break;
        }
        int fd = accept4(listeningFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            startConnection(fd);
        } else if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
            // Out of descriptors: the pending peer stays queued; wait rather than spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    uint64_t one = 1;
    (void)!write(shutdownFd_, &one, sizeof one);
    std::unique_lock lock(mutex_);
    allEnded_.wait(lock, [this] { return active_.load() == 0; });
    return result;
}

void Listener::startConnection(int fd) {
    PeerCredentials peer;
    if (delegate_ == nullptr || active_.load() >= kMaxConnections || !peerOf(fd, &peer)) {
        close(fd);
        return;
    }
    std::unique_ptr<ExportedObject> exported = delegate_->shouldAcceptNewConnection(peer);
    if (!exported) {
        close(fd);
        return;
    }
    timeval sendTimeout{kSendTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    active_.fetch_add(1);
    try {
        std::thread(&Listener::serveConnection, this, fd, std::move(exported)).detach();
    } catch (...) {
        // No thread to be had: the peer is refused like any other surplus connection.
        close(fd);
        active_.fetch_sub(1);
    }
}

void Listener::serveConnection(int fd, std::unique_ptr<ExportedObject> exported) {
    std::string payload;
    Request request;
    std::string reply;
    while (readFrame(fd, &payload, shutdownFd_) == FrameStatus::kOK) {
        reply.clear();
        if (!decodeRequest(payload, &request) ||
            !exported->invoke(request.method, request.body, &reply) || !writeFrame(fd, reply)) {
            break;
        }
    }
    close(fd);
    exported.reset();
    std::lock_guard lock(mutex_);
    active_.fetch_sub(1);
    allEnded_.notify_all();
}

}  // namespace t48::xpc
