#pragma once
// Where the profile files live. One preferences folder holds, per user and model, the
// current file, the previous file (the backup a refresh takes) and the spool path.
//
// The service works on the three process-wide paths of the running walk request; the
// panel forms its paths per user from model "T48". Both are resolved under the
// filesystem root (t48::systemPath).

#include <string>
#include <string_view>

namespace t48::store {

inline constexpr char kPanelModel[] = "T48";
// Size of the buffers the paths were formatted into, terminator included; a longer path
// (the installed one, before the filesystem root is put in front) is refused, never cut.
inline constexpr std::size_t kServicePathSize = 256;
inline constexpr std::size_t kPanelPathSize = 255;

struct ProfilePaths {
    std::string current;   // "<user>-<model>-profile.plist"
    std::string previous;  // "<user>-<model>-profile.prev.plist"
    std::string spool;     // "<user>-<model>-profile.spool.plist" (never opened)
};

// The service's paths, set by each walk request and used by every store operation of
// the service for the rest of that request. Process-wide: one walk at a time.
extern std::string ZT_PLIST_PROFILE_PATH;
extern std::string ZT_PLIST_PROFILE_PREV_PATH;
extern std::string ZT_PLIST_PROFILE_SPOOL_PATH;

// Forms the three paths for `user` and `model` under the filesystem root. kStoreFailed
// (out untouched) when a name is empty, is "." or "..", holds '/' or a NUL, or when a
// path would not fit `bufferSize` bytes.
int formatProfilePaths(std::string_view user, std::string_view model, std::size_t bufferSize,
                       ProfilePaths* out);

// Sets ZT_PLIST_PROFILE_PATH, _PREV_PATH and _SPOOL_PATH from `user` and `model`, and
// `user` as the owner of the service's files. kStoreOK, or kStoreFailed with all three
// paths and the user cleared when the names are refused (see formatProfilePaths).
int setServiceProfilePaths(std::string_view user, std::string_view model);

// The user the service's paths were formed for: the one its files belong to.
const std::string& serviceProfileUser();

// The leaf of a path: its part after the last '/'.
std::string leafOfPath(const std::string& path);

// Login name of the password-database entry of the real user id; empty when unknown.
std::string realUserLoginName();

// The panel's paths: the real user's files of model "T48". kStoreFailed when the user
// is unknown or the paths do not fit.
int panelProfilePaths(ProfilePaths* out);

}  // namespace t48::store
