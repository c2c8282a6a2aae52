// The service's side of the store: file work done here, on the paths of the running
// walk request (ZT_PLIST_PROFILE_PATH, ZT_PLIST_PROFILE_PREV_PATH).

#include "profile-backend.hpp"
#include "profile-files.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::store::backend {

std::string currentPath() {
    return ZT_PLIST_PROFILE_PATH;
}
std::string previousPath() {
    return ZT_PLIST_PROFILE_PREV_PATH;
}

int writeTest() {
    if (ZT_PLIST_PROFILE_PATH.empty()) {
        return 0;
    }
    return writeTestFile(ZT_PLIST_PROFILE_PATH);
}

int existsCurrent() {
    return fileOpensForReading(ZT_PLIST_PROFILE_PATH);
}

int removePath(const std::string& path) {
    return removeFile(path);
}

void swapFiles(int mode) {
    if (ZT_PLIST_PROFILE_PREV_PATH.empty()) {
        return;
    }
    switch (mode) {
        case kSwapBackupCurrent:
            copyFileAtomically(ZT_PLIST_PROFILE_PATH, ZT_PLIST_PROFILE_PREV_PATH);
            break;
        case kSwapDeletePrevious:
            removeFile(ZT_PLIST_PROFILE_PREV_PATH);
            break;
        case kSwapRestorePrevious:
            // One rename, and only when there is a previous file to restore.
            moveFileOver(ZT_PLIST_PROFILE_PREV_PATH, ZT_PLIST_PROFILE_PATH);
            break;
        default:
            break;
    }
}

int saveCurrent(std::string_view xml) {
    return writeFileAtomically(ZT_PLIST_PROFILE_PATH, xml);
}

}  // namespace t48::store::backend
