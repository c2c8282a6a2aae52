#pragma once
// ZT_XPC_Protocol: the dispatch table of the service's requests, one row per method, in
// the protocol's order.

#include <string_view>

#include "service-xpc.hpp"

namespace t48::xpc {

// How a method's request string is built.
enum class RequestGrammar { kPath, kSwap, kURLText, kURL, kWalk };

struct ProtocolMethod {
    std::string_view name;
    RequestGrammar grammar;
    void (ZTmacServiceXPC::*handler)(std::string_view request, const ReplyBlock& reply);
};

inline constexpr int kProtocolMethodCount = 8;
extern const ProtocolMethod ZT_XPC_Protocol[kProtocolMethodCount];

// The row of `name`, or null when the protocol has no such method.
const ProtocolMethod* findProtocolMethod(std::string_view name);

}  // namespace t48::xpc
