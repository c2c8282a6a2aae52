#include "helper-commands.hpp"

#include "zt-xpc-protocol.hpp"

namespace t48::helper {
namespace {

using namespace xpc::protocol;

std::string joinSingle(const std::vector<std::string_view>& pieces) {
    return std::string(pieces[0]);
}

std::string joinSwap(const std::vector<std::string_view>& pieces) {
    std::string request(pieces[0]);
    request.append(kSwapTypeMarker).append(pieces[1]);
    request.append(kCurrentMarker).append(pieces[2]);
    request.append(kPreviousMarker);
    return request;
}

std::string joinURLText(const std::vector<std::string_view>& pieces) {
    std::string request(pieces[0]);
    request.append(kURLMarker).append(pieces[1]);
    return request;
}

std::string joinWalk(const std::vector<std::string_view>& pieces) {
    std::string request(pieces[0]);
    request.append(kModelMarker).append(pieces[1]).append(kUserMarker);
    for (std::size_t i = 2; i < pieces.size(); ++i) {
        request.append(pieces[i]).append(kArgMarker);
    }
    return request;
}

}  // namespace

const Command kCommands[] = {
    {kIsAdminProfile, 1, 1, "PATH", joinSingle},
    {kSwapProfile, 3, 3, "MODE CURRENT-PATH PREVIOUS-PATH", joinSwap},
    {kExistProfile, 1, 1, "PATH", joinSingle},
    {kRemove, 1, 1, "PATH", joinSingle},
    {kWriteDictionary, 2, 2, "FILE-URL TEXT", joinURLText},
    {kWriteData, 2, 2, "FILE-URL CHUNK", joinURLText},
    {kWriteDataRename, 1, 1, "FILE-URL", joinSingle},
    {kMibWalk, 2, kAnyNumber, "MODEL USER [WALK-ARGUMENT...]", joinWalk},
};
const std::size_t kCommandCount = sizeof kCommands / sizeof kCommands[0];

const Command* findCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

std::optional<std::string> buildRequest(const Command& command,
                                        const std::vector<std::string_view>& pieces) {
    if (pieces.size() < command.minPieces || pieces.size() > command.maxPieces) {
        return std::nullopt;
    }
    return command.join(pieces);
}

}  // namespace t48::helper
