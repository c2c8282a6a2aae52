// The service's side of the store: file work done here, on the paths of the running
// walk request (ZT_PLIST_PROFILE_PATH, ZT_PLIST_PROFILE_PREV_PATH).

#include "preferences-folder.hpp"
#include "profile-backend.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::store::backend {

std::string currentPath() {
    return ZT_PLIST_PROFILE_PATH;
}
std::string previousPath() {
    return ZT_PLIST_PROFILE_PREV_PATH;
}
std::string fileUser() {
    return serviceProfileUser();
}

int writeTest() {
    if (ZT_PLIST_PROFILE_PATH.empty()) {
        return 0;
    }
    PreferencesFolder folder(serviceProfileUser(), FolderUse::kWrite);
    return folder.writeTest(leafOfPath(ZT_PLIST_PROFILE_PATH)) ? 1 : 0;
}

int existsCurrent() {
    PreferencesFolder folder(serviceProfileUser());
    return folder.opensForReading(leafOfPath(ZT_PLIST_PROFILE_PATH)) ? 1 : 0;
}

int removePath(const std::string& path) {
    PreferencesFolder folder(serviceProfileUser());
    return folder.remove(leafOfPath(path)) ? 1 : 0;
}

void swapFiles(int mode) {
    if (ZT_PLIST_PROFILE_PREV_PATH.empty()) {
        return;
    }
    PreferencesFolder folder(serviceProfileUser(), FolderUse::kWrite);
    const std::string current = leafOfPath(ZT_PLIST_PROFILE_PATH);
    const std::string previous = leafOfPath(ZT_PLIST_PROFILE_PREV_PATH);
    switch (mode) {
        case kSwapBackupCurrent:
            folder.copy(current, previous);
            break;
        case kSwapDeletePrevious:
            folder.remove(previous);
            break;
        case kSwapRestorePrevious:
            // One rename, and only when there is a previous file to restore.
            folder.moveOver(previous, current);
            break;
        default:
            break;
    }
}

int saveCurrent(std::string_view xml) {
    PreferencesFolder folder(serviceProfileUser(), FolderUse::kWrite);
    return folder.replace(leafOfPath(ZT_PLIST_PROFILE_PATH), xml, true) ? kStoreOK : kStoreFailed;
}

}  // namespace t48::store::backend
