#pragma once
// The three request grammars of ZT_XPC_Protocol (swap, the URL writes, the walk). Parsing
// only: nothing here touches a file.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t48::xpc {

// The walk's argument vector has room for this many entries, the program name included.
inline constexpr std::size_t kMaxWalkArguments = 512;

struct SwapRequest {
    int mode = 0;
    std::optional<std::string_view> currentPath;   // absent for "NULL"
    std::optional<std::string_view> previousPath;  // absent for "NULL"
};

struct URLRequest {
    std::string_view url;
    std::string_view content;  // everything after the marker
};

struct WalkRequest {
    std::string_view model;
    std::string_view user;
    std::vector<std::string_view> arguments;  // the text after the last ":arg:" is dropped
};

enum class WalkParse { kOK, kMissingMarker, kTooManyArguments };

// Mode text: "NULL" is 0; otherwise a decimal integer after optional leading white space
// and sign, anything else (or a number out of range) 0.
int parseSwapMode(std::string_view text);

// Empty when a marker is missing or the markers stand out of order.
std::optional<SwapRequest> parseSwapRequest(std::string_view request);
std::optional<URLRequest> parseURLRequest(std::string_view request);
WalkParse parseWalkRequest(std::string_view request, WalkRequest* walk);

}  // namespace t48::xpc
