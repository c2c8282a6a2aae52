#pragma once
// The wire format of the service socket. Every message is one frame: a 4-byte big-endian
// payload length, then the payload. A request payload is a 4-byte big-endian length of the
// method name, the method name and the request string; a reply payload is the reply string.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace t48::xpc {

// Larger frames are refused from their header alone; their bodies are never read.
inline constexpr std::size_t kMaxFrameBytes = 1024 * 1024;
// A peer that sends part of a frame and then nothing for this long is dropped.
inline constexpr int kStallMilliseconds = 5000;

enum class FrameStatus {
    kOK,
    kClosed,    // the peer closed the connection between frames
    kTooLarge,  // the header announced more than kMaxFrameBytes
    kStalled,   // the peer stopped sending in the middle of a frame
    kStopped,   // the stop descriptor became readable
    kFailed,    // read error, or the peer closed in the middle of a frame
};

struct Request {
    std::string method;
    std::string body;
};

std::string encodeRequest(std::string_view method, std::string_view body);
// False when the payload is too short for the method length it announces.
bool decodeRequest(std::string_view payload, Request* request);

// Reads one frame into `payload`. Waits as long as it takes for the first byte (an idle
// connection costs nothing), then gives up with kStalled when no byte arrives for
// `stallMilliseconds`. `stopFd` (-1 for none) becoming readable ends any wait with kStopped.
FrameStatus readFrame(int fd, std::string* payload, int stopFd,
                      int stallMilliseconds = kStallMilliseconds);

// Writes one frame; false when the peer is gone or the payload exceeds kMaxFrameBytes.
bool writeFrame(int fd, std::string_view payload);

}  // namespace t48::xpc
