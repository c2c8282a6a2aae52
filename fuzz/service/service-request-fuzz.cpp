// Fuzz target for the service's request parsing: a request payload as it arrives on the
// socket, through the method dispatch table and the grammar of the method it names, and the
// rule for which files a path or URL may name. Checks what the sanitizers cannot see: every
// piece lies inside the request, the pieces join back to the request, and an accepted file
// name stays a single name in the preferences folder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profile-file-check.hpp"
#include "profile-file-names.hpp"
#include "request-grammar.hpp"
#include "service-protocol.hpp"
#include "xpc-frame.hpp"
#include "zt-xpc-protocol.hpp"

namespace {

using namespace t48::xpc;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool inside(std::string_view piece, std::string_view whole) {
    return piece.data() >= whole.data() &&
           piece.data() + piece.size() <= whole.data() + whole.size();
}

void checkFile(const std::optional<ProfileFileName>& file, const RequestingUser& requester) {
    if (!file) {
        return;
    }
    check(file->leaf.find('/') == std::string::npos && file->leaf.find('\0') == std::string::npos);
    check(isAcceptableUserName(file->user) && isAcceptableModelName(file->model));
    check(requester.mayActFor(file->user));
    check(profileLeaf(file->user, file->model, file->kind) == file->leaf);
}

void checkSwap(std::string_view body) {
    std::optional<SwapRequest> swap = parseSwapRequest(body);
    if (!swap) {
        return;
    }
    std::string joined = std::string(body.substr(0, body.find(protocol::kSwapTypeMarker)));
    joined.append(protocol::kSwapTypeMarker);
    joined.append(swap->currentPath ? *swap->currentPath : protocol::kAbsent);
    joined.append(protocol::kCurrentMarker);
    joined.append(swap->previousPath ? *swap->previousPath : protocol::kAbsent);
    joined.append(protocol::kPreviousMarker);
    check(body.substr(0, joined.size()) == joined);
    check(!swap->currentPath || inside(*swap->currentPath, body));
    check(!swap->previousPath || inside(*swap->previousPath, body));
}

void checkURL(std::string_view body, const RequestingUser& requester) {
    std::optional<URLRequest> write = parseURLRequest(body);
    if (!write) {
        check(body.find(protocol::kURLMarker) == std::string_view::npos);
        return;
    }
    check(std::string(write->url) + std::string(protocol::kURLMarker) +
              std::string(write->content) ==
          body);
    check(write->url.find(protocol::kURLMarker) == std::string_view::npos);
    checkFile(profileFileForURL(write->url, requester), requester);
    isProfileFileText(write->content);
}

void checkWalk(std::string_view body) {
    WalkRequest walk;
    WalkParse parse = parseWalkRequest(body, &walk);
    if (parse != WalkParse::kOK) {
        check(walk.arguments.empty());
        return;
    }
    check(walk.arguments.size() <= kMaxWalkArguments);
    std::string joined = std::string(walk.model) + std::string(protocol::kModelMarker) +
                         std::string(walk.user) + std::string(protocol::kUserMarker);
    for (std::string_view argument : walk.arguments) {
        check(inside(argument, body) &&
              argument.find(protocol::kArgMarker) == std::string_view::npos);
        joined.append(argument).append(protocol::kArgMarker);
    }
    check(body.substr(0, joined.size()) == joined);
    check(body.substr(joined.size()).find(protocol::kArgMarker) == std::string_view::npos);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("T48_ROOT", "/nonexistent-fuzz-root", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view payload(reinterpret_cast<const char*>(data), size);
    Request request;
    if (!decodeRequest(payload, &request)) {
        return 0;
    }
    const ProtocolMethod* method = findProtocolMethod(request.method);
    if (method == nullptr) {
        return 0;
    }
    check(method->name == request.method);
    const RequestingUser requester{1000, "ann"};
    std::string_view body = request.body;
    switch (method->grammar) {
        case RequestGrammar::kPath:
            checkFile(profileFileForPath(body, requester), requester);
            break;
        case RequestGrammar::kSwap:
            checkSwap(body);
            break;
        case RequestGrammar::kURLText:
            checkURL(body, requester);
            break;
        case RequestGrammar::kURL:
            checkFile(profileFileForURL(body, requester), requester);
            break;
        case RequestGrammar::kWalk:
            checkWalk(body);
            break;
    }
    return 0;
}
