#include "service-xpc.hpp"

#include <optional>

#include "preferences-folder.hpp"
#include "profile-file-names.hpp"
#include "profile-writes.hpp"
#include "request-grammar.hpp"
#include "walk-options.hpp"
#include "walk-request.hpp"
#include "zt-xpc-protocol.hpp"

namespace t48::xpc {
namespace {

using protocol::booleanReply;

// Swap paths: the current and the previous file of one user and model.
bool swapPathsAgree(const std::optional<ProfileFileName>& current,
                    const std::optional<ProfileFileName>& previous) {
    if (current && current->kind != ProfileFileKind::kCurrent) {
        return false;
    }
    if (previous && previous->kind != ProfileFileKind::kPrevious) {
        return false;
    }
    return !current || !previous ||
           (current->user == previous->user && current->model == previous->model);
}

}  // namespace

void ZTmacServiceXPC::ztPListIsAdminProfile_XPC(std::string_view request, const ReplyBlock& reply) {
    std::optional<ProfileFileName> file = profileFileForPath(request, requester_);
    if (!file || file->kind == ProfileFileKind::kSaveTemporary) {
        reply(booleanReply(false));
        return;
    }
    store::PreferencesFolder folder(file->user, store::FolderUse::kWrite);
    reply(booleanReply(folder.writeTest(file->leaf)));
}

void ZTmacServiceXPC::ztPListSwapProfile_XPC(std::string_view request, const ReplyBlock& reply) {
    std::optional<SwapRequest> swap = parseSwapRequest(request);
    if (!swap) {
        reply(booleanReply(false));
        return;
    }
    std::optional<ProfileFileName> current;
    std::optional<ProfileFileName> previous;
    if (swap->currentPath) {
        current = profileFileForPath(*swap->currentPath, requester_);
        if (!current) {
            reply(booleanReply(false));
            return;
        }
    }
    if (swap->previousPath) {
        previous = profileFileForPath(*swap->previousPath, requester_);
        if (!previous) {
            reply(booleanReply(false));
            return;
        }
    }
    if (!swapPathsAgree(current, previous)) {
        reply(booleanReply(false));
        return;
    }
    store::PreferencesFolder folder(current    ? current->user
                                    : previous ? previous->user
                                               : "",
                                    store::FolderUse::kWrite);
    // What the file operations achieve is not reported (the panel ignores the answer).
    switch (swap->mode) {
        case 2:
            if (previous) {
                folder.remove(previous->leaf);
                if (current) {
                    folder.copy(current->leaf, previous->leaf);
                }
            }
            break;
        case 1:
            if (previous) {
                folder.remove(previous->leaf);
            }
            break;
        case 0:
            // One rename: with no previous file the current file stays.
            if (current && previous) {
                folder.moveOver(previous->leaf, current->leaf);
            }
            break;
        default:
            break;
    }
    reply(booleanReply(true));
}

void ZTmacServiceXPC::ztPListExistProfile_XPC(std::string_view request, const ReplyBlock& reply) {
    std::optional<ProfileFileName> file = profileFileForPath(request, requester_);
    reply(booleanReply(file && store::PreferencesFolder(file->user).opensForReading(file->leaf)));
}

void ZTmacServiceXPC::ztPListRemove_XPC(std::string_view request, const ReplyBlock& reply) {
    std::optional<ProfileFileName> file = profileFileForPath(request, requester_);
    reply(booleanReply(file && store::PreferencesFolder(file->user).remove(file->leaf)));
}

void ZTmacServiceXPC::writeDictionaryToPlistFile_XPC(std::string_view request,
                                                     const ReplyBlock& reply) {
    std::optional<URLRequest> write = parseURLRequest(request);
    reply(booleanReply(write && writeProfileBytes(requester_, write->url, write->content)));
}

void ZTmacServiceXPC::writeDataToPlistFile_XPC(std::string_view request, const ReplyBlock& reply) {
    std::optional<URLRequest> write = parseURLRequest(request);
    reply(booleanReply(write && appendSaveChunk(requester_, write->url, write->content)));
}

void ZTmacServiceXPC::writeDataToPlistFileRename_XPC(std::string_view request,
                                                     const ReplyBlock& reply) {
    reply(booleanReply(installSavedFile(requester_, request)));
}

void ZTmacServiceXPC::mibwalk_XPC(std::string_view request, const ReplyBlock& reply) {
    WalkRequest walk;
    if (request.find('\0') != std::string_view::npos ||
        parseWalkRequest(request, &walk) != WalkParse::kOK || walk.arguments.empty() ||
        !isProfileWalkArgumentList(walk.arguments) || !isAcceptableUserName(walk.user) ||
        !isAcceptableModelName(walk.model) || !requester_.mayActFor(walk.user)) {
        reply(protocol::walkReply(kWalkRequestRefused));
        return;
    }
    reply(protocol::walkReply(runWalkRequest(walk)));
}

}  // namespace t48::xpc
