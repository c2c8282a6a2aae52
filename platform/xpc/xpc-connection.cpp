#include "xpc-connection.hpp"

#include <unistd.h>

#include "xpc-frame.hpp"
#include "xpc-socket.hpp"

namespace t48::xpc {

ServiceConnection::~ServiceConnection() {
    close();
}

bool ServiceConnection::open(const std::string& socketPath) {
    close();
    fd_ = connectServiceSocket(socketPath);
    return fd_ >= 0;
}

void ServiceConnection::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

CallStatus ServiceConnection::call(std::string_view method, std::string_view request,
                                   std::string* reply) {
    if (fd_ < 0) {
        return CallStatus::kNotConnected;
    }
    std::string payload = encodeRequest(method, request);
    if (payload.size() > kMaxFrameBytes) {
        return CallStatus::kTooLarge;
    }
    // The service may take as long as a walk needs: no stall limit on the reply.
    if (!writeFrame(fd_, payload) || readFrame(fd_, reply, -1, -1) != FrameStatus::kOK) {
        close();
        return CallStatus::kDropped;
    }
    return CallStatus::kOK;
}

const char* callStatusText(CallStatus status) {
    switch (status) {
        case CallStatus::kOK:
            return "ok";
        case CallStatus::kNotConnected:
            return "cannot connect to the service";
        case CallStatus::kDropped:
            return "the service closed the connection without a reply";
        case CallStatus::kTooLarge:
            return "request too large for one message";
    }
    return "unknown";
}

}  // namespace t48::xpc
