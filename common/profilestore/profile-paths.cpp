#include "profile-paths.hpp"

#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "profile-store.hpp"
#include "root-path.hpp"
#include "system-paths.hpp"

namespace t48::store {

std::string ZT_PLIST_PROFILE_PATH;
std::string ZT_PLIST_PROFILE_PREV_PATH;
std::string ZT_PLIST_PROFILE_SPOOL_PATH;

namespace {

bool isSafeName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::string gServiceUser;

}  // namespace

int formatProfilePaths(std::string_view user, std::string_view model, std::size_t bufferSize,
                       ProfilePaths* out) {
    if (out == nullptr || !isSafeName(user) || !isSafeName(model)) {
        return kStoreFailed;
    }
    std::string stem = std::string(installedPath(SystemPath::kPreferencesFolder)) + "/" +
                       std::string(user) + "-" + std::string(model) + "-profile";
    // The spool path is the longest of the three.
    if (stem.size() + sizeof(".spool.plist") > bufferSize) {
        return kStoreFailed;
    }
    out->current = rootedPath(stem + ".plist");
    out->previous = rootedPath(stem + ".prev.plist");
    out->spool = rootedPath(stem + ".spool.plist");
    return kStoreOK;
}

int setServiceProfilePaths(std::string_view user, std::string_view model) {
    ProfilePaths paths;
    if (formatProfilePaths(user, model, kServicePathSize, &paths) != kStoreOK) {
        ZT_PLIST_PROFILE_PATH.clear();
        ZT_PLIST_PROFILE_PREV_PATH.clear();
        ZT_PLIST_PROFILE_SPOOL_PATH.clear();
        gServiceUser.clear();
        return kStoreFailed;
    }
    gServiceUser = user;
    ZT_PLIST_PROFILE_PATH = std::move(paths.current);
    ZT_PLIST_PROFILE_PREV_PATH = std::move(paths.previous);
    ZT_PLIST_PROFILE_SPOOL_PATH = std::move(paths.spool);
    return kStoreOK;
}

const std::string& serviceProfileUser() {
    return gServiceUser;
}

std::string leafOfPath(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

std::string realUserLoginName() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_name == nullptr) {
        return {};
    }
    return found->pw_name;
}

int panelProfilePaths(ProfilePaths* out) {
    return formatProfilePaths(realUserLoginName(), kPanelModel, kPanelPathSize, out);
}

}  // namespace t48::store
