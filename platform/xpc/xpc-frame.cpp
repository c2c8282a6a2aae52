#include "xpc-frame.hpp"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace t48::xpc {
namespace {

constexpr std::size_t kLengthBytes = 4;

void appendLength(std::string* out, uint32_t length) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out->push_back(static_cast<char>((length >> shift) & 0xFF));
    }
}

uint32_t lengthAt(std::string_view bytes) {
    uint32_t length = 0;
    for (std::size_t i = 0; i < kLengthBytes; ++i) {
        length = (length << 8) | static_cast<unsigned char>(bytes[i]);
    }
    return length;
}

enum class WaitResult { kReadable, kTimedOut, kStopped, kFailed };

WaitResult waitReadable(int fd, int stopFd, int timeoutMilliseconds) {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
    nfds_t count = stopFd >= 0 ? 2 : 1;
    for (;;) {
        int ready = poll(fds, count, timeoutMilliseconds);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return WaitResult::kFailed;
        }
        if (ready == 0) {
            return WaitResult::kTimedOut;
        }
        if (count == 2 && (fds[1].revents & POLLIN) != 0) {
            return WaitResult::kStopped;
        }
        return WaitResult::kReadable;
    }
}

// Fills `buffer` with exactly `size` bytes. `idleAllowed` lets the wait for the very first
// byte of a frame last forever.
FrameStatus readExactly(int fd, char* buffer, std::size_t size, int stopFd, int stallMilliseconds,
                        bool idleAllowed) {
    std::size_t done = 0;
    while (done < size) {
        int timeout = (idleAllowed && done == 0) ? -1 : stallMilliseconds;
        switch (waitReadable(fd, stopFd, timeout)) {
            case WaitResult::kTimedOut:
                return FrameStatus::kStalled;
            case WaitResult::kStopped:
                return FrameStatus::kStopped;
            case WaitResult::kFailed:
                return FrameStatus::kFailed;
            case WaitResult::kReadable:
                break;
        }
        ssize_t n = read(fd, buffer + done, size - done);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (n <= 0) {
            return (idleAllowed && done == 0 && n == 0) ? FrameStatus::kClosed
                                                        : FrameStatus::kFailed;
        }
        done += static_cast<std::size_t>(n);
    }
    return FrameStatus::kOK;
}

}  // namespace

std::string encodeRequest(std::string_view method, std::string_view body) {
    std::string payload;
    payload.reserve(kLengthBytes + method.size() + body.size());
    appendLength(&payload, static_cast<uint32_t>(method.size()));
    payload.append(method);
    payload.append(body);
    return payload;
}

bool decodeRequest(std::string_view payload, Request* request) {
    if (payload.size() < kLengthBytes) {
        return false;
    }
    uint32_t methodLength = lengthAt(payload);
    if (methodLength > payload.size() - kLengthBytes) {
        return false;
    }
    request->method.assign(payload.substr(kLengthBytes, methodLength));
    request->body.assign(payload.substr(kLengthBytes + methodLength));
    return true;
}

FrameStatus readFrame(int fd, std::string* payload, int stopFd, int stallMilliseconds) {
    char header[kLengthBytes];
    FrameStatus status = readExactly(fd, header, kLengthBytes, stopFd, stallMilliseconds, true);
    if (status != FrameStatus::kOK) {
        return status;
    }
    uint32_t length = lengthAt(std::string_view(header, kLengthBytes));
    if (length > kMaxFrameBytes) {
        return FrameStatus::kTooLarge;
    }
    payload->assign(length, '\0');
    if (length == 0) {
        return FrameStatus::kOK;
    }
    return readExactly(fd, payload->data(), length, stopFd, stallMilliseconds, false);
}

bool writeFrame(int fd, std::string_view payload) {
    if (payload.size() > kMaxFrameBytes) {
        return false;
    }
    std::string frame;
    frame.reserve(kLengthBytes + payload.size());
    appendLength(&frame, static_cast<uint32_t>(payload.size()));
    frame.append(payload);
    std::size_t done = 0;
    while (done < frame.size()) {
        ssize_t n = send(fd, frame.data() + done, frame.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace t48::xpc
