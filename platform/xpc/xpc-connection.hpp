#pragma once
// The client end of the service socket: one connection, one request at a time.

#include <string>
#include <string_view>

namespace t48::xpc {

enum class CallStatus {
    kOK,
    kNotConnected,  // no connection could be made
    kDropped,       // the service closed the connection instead of replying
    kTooLarge,      // the request does not fit in one frame
};

class ServiceConnection {
public:
    ServiceConnection() = default;
    ~ServiceConnection();
    ServiceConnection(const ServiceConnection&) = delete;
    ServiceConnection& operator=(const ServiceConnection&) = delete;

    // Connects to the service at `socketPath`; false with errno set when it cannot.
    bool open(const std::string& socketPath);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // Sends one request and waits for its reply.
    CallStatus call(std::string_view method, std::string_view request, std::string* reply);

private:
    int fd_ = -1;
};

const char* callStatusText(CallStatus status);

}  // namespace t48::xpc
