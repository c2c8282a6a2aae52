#include "profile-writes.hpp"

#include <glib.h>

#include <optional>
#include <string>

#include "preferences-folder.hpp"
#include "profile-file-check.hpp"
#include "profile-file-names.hpp"

namespace t48::xpc {
namespace {

constexpr std::string_view kXMLDeclaration = "<?xml";

bool isUTF8Text(std::string_view text) {
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr) != 0;
}

// The current file a save's URL names.
std::optional<ProfileFileName> currentFileFor(const RequestingUser& requester,
                                              std::string_view fileURL) {
    std::optional<ProfileFileName> file = profileFileForURL(fileURL, requester);
    if (!file || file->kind != ProfileFileKind::kCurrent) {
        return std::nullopt;
    }
    return file;
}

}  // namespace

bool writeProfileBytes(const RequestingUser& requester, std::string_view fileURL,
                       std::string_view bytes) {
    std::optional<ProfileFileName> file = profileFileForURL(fileURL, requester);
    if (!file || file->kind == ProfileFileKind::kSaveTemporary ||
        bytes.size() > store::kMaxProfileFileSize) {
        return false;
    }
    store::PreferencesFolder folder(file->user, store::FolderUse::kWrite);
    return folder.replace(file->leaf, bytes, true);
}

bool appendSaveChunk(const RequestingUser& requester, std::string_view fileURL,
                     std::string_view chunk) {
    std::optional<ProfileFileName> file = currentFileFor(requester, fileURL);
    if (!file || !isUTF8Text(chunk)) {
        return false;
    }
    std::string temporary = profileLeaf(file->user, file->model, ProfileFileKind::kSaveTemporary);
    store::PreferencesFolder folder(file->user, store::FolderUse::kWrite);
    // A half-written temporary file is harmless: the rename installs only a whole profile
    // file. So later chunks are appended in place, and none of them is flushed.
    bool startsDocument = chunk.substr(0, kXMLDeclaration.size()) == kXMLDeclaration;
    if (!startsDocument && folder.exists(temporary)) {
        return folder.append(temporary, chunk);
    }
    return chunk.size() <= store::kMaxProfileFileSize && folder.replace(temporary, chunk, false);
}

bool installSavedFile(const RequestingUser& requester, std::string_view fileURL) {
    std::optional<ProfileFileName> file = currentFileFor(requester, fileURL);
    if (!file) {
        return false;
    }
    std::string temporary = profileLeaf(file->user, file->model, ProfileFileKind::kSaveTemporary);
    store::PreferencesFolder folder(file->user);
    return folder.installChecked(temporary, file->leaf, isProfileFileText);
}

bool writeDictionaryToPlistFile_XPC(std::string_view fileURL, std::string_view bytes) {
    std::optional<RequestingUser> self = serviceUser();
    return self && writeProfileBytes(*self, fileURL, bytes);
}

}  // namespace t48::xpc
