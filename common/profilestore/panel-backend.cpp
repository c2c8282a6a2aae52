// The panel's side of the store: it reads the profile file itself, but every write,
// removal, backup and write test is a request to the service through T48Helper.

#include <glib.h>

#include "helper-request.hpp"
#include "profile-backend.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "split-char-every.hpp"

namespace t48::store::backend {

namespace {

// No argument of a helper run is longer than this many UTF-16 code units.
constexpr std::size_t kChunkCodeUnits = 90000;

constexpr char kWriteTestCommand[] = "ztPListIsAdminProfile_XPC";
constexpr char kSwapCommand[] = "ztPListSwapProfile_XPC";
constexpr char kExistCommand[] = "ztPListExistProfile_XPC";
constexpr char kRemoveCommand[] = "ztPListRemove_XPC";
constexpr char kChunkCommand[] = "writeDataToPlistFile_XPC";
constexpr char kRenameCommand[] = "writeDataToPlistFileRename_XPC";

ProfilePaths paths() {
    ProfilePaths formed;
    if (panelProfilePaths(&formed) != kStoreOK) {
        return {};
    }
    return formed;
}

// Runs `command` with `arguments`; 1 when its "<command>=TRUE" came back, else 0.
int request(const char* command, const std::vector<std::string>& arguments) {
    return panel::runSucceeded(panel::runHelper(command, arguments), panel::trueMarker(command))
               ? 1
               : 0;
}

// RFC 8089 URL of an absolute path ("file:///..."), empty when none can be made.
std::string fileURL(const std::string& path) {
    GError* error = nullptr;
    gchar* url = g_filename_to_uri(path.c_str(), nullptr, &error);
    if (url == nullptr) {
        g_clear_error(&error);
        return {};
    }
    std::string text(url);
    g_free(url);
    return text;
}

}  // namespace

std::string currentPath() {
    return paths().current;
}
std::string previousPath() {
    return paths().previous;
}
std::string fileUser() {
    return realUserLoginName();
}

int writeTest() {
    const std::string current = currentPath();
    return current.empty() ? 0 : request(kWriteTestCommand, {current});
}

int existsCurrent() {
    const std::string current = currentPath();
    return current.empty() ? 0 : request(kExistCommand, {current});
}

int removePath(const std::string& path) {
    return path.empty() ? 0 : request(kRemoveCommand, {path});
}

void swapFiles(int mode) {
    const ProfilePaths formed = paths();
    if (formed.current.empty()) {
        return;
    }
    panel::runHelper(kSwapCommand, {std::to_string(mode), formed.current, formed.previous});
}

int saveCurrent(std::string_view xml) {
    const std::string current = currentPath();
    const std::string url = current.empty() ? std::string() : fileURL(current);
    if (url.empty() || !g_utf8_validate(xml.data(), static_cast<gssize>(xml.size()), nullptr)) {
        return kStoreFailed;
    }
    for (const std::string& chunk : panel::splitCharEvery(xml, kChunkCodeUnits)) {
        // Stops at the first chunk not taken: the current file stays as it was.
        if (request(kChunkCommand, {url, chunk}) == 0) {
            return kStoreFailed;
        }
    }
    return request(kRenameCommand, {url}) == 1 ? kStoreOK : kStoreFailed;
}

}  // namespace t48::store::backend
