#include "request-grammar.hpp"

#include <cctype>
#include <climits>

#include "zt-xpc-protocol.hpp"

namespace t48::xpc {
namespace {

using namespace protocol;

std::optional<std::string_view> pathOrAbsent(std::string_view text) {
    if (text == kAbsent) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

int parseSwapMode(std::string_view text) {
    if (text == kAbsent) {
        return 0;
    }
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])) != 0) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT_MAX) {
            return 0;
        }
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<SwapRequest> parseSwapRequest(std::string_view request) {
    std::size_t typeAt = request.find(kSwapTypeMarker);
    if (typeAt == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t currentStart = typeAt + kSwapTypeMarker.size();
    std::size_t currentAt = request.find(kCurrentMarker, currentStart);
    if (currentAt == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t previousStart = currentAt + kCurrentMarker.size();
    std::size_t previousAt = request.find(kPreviousMarker, previousStart);
    if (previousAt == std::string_view::npos) {
        return std::nullopt;
    }
    SwapRequest swap;
    swap.mode = parseSwapMode(request.substr(0, typeAt));
    swap.currentPath = pathOrAbsent(request.substr(currentStart, currentAt - currentStart));
    swap.previousPath = pathOrAbsent(request.substr(previousStart, previousAt - previousStart));
    return swap;
}

std::optional<URLRequest> parseURLRequest(std::string_view request) {
    std::size_t at = request.find(kURLMarker);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return URLRequest{request.substr(0, at), request.substr(at + kURLMarker.size())};
}

WalkParse parseWalkRequest(std::string_view request, WalkRequest* walk) {
    std::size_t modelAt = request.find(kModelMarker);
    if (modelAt == std::string_view::npos) {
        return WalkParse::kMissingMarker;
    }
    std::size_t userStart = modelAt + kModelMarker.size();
    std::size_t userAt = request.find(kUserMarker, userStart);
    if (userAt == std::string_view::npos) {
        return WalkParse::kMissingMarker;
    }
    walk->model = request.substr(0, modelAt);
    walk->user = request.substr(userStart, userAt - userStart);
    walk->arguments.clear();
    std::string_view rest = request.substr(userAt + kUserMarker.size());
    for (std::size_t at = rest.find(kArgMarker); at != std::string_view::npos;
         at = rest.find(kArgMarker)) {
        if (walk->arguments.size() == kMaxWalkArguments) {
            walk->arguments.clear();
            return WalkParse::kTooManyArguments;
        }
        walk->arguments.push_back(rest.substr(0, at));
        rest.remove_prefix(at + kArgMarker.size());
    }
    return WalkParse::kOK;
}

}  // namespace t48::xpc
