#pragma once
// Which profile file a request names. Path and URL requests may name only the requesting
// user's own files in the preferences folder: the current file, the previous file, or the
// temporary file of a chunked save. Everything else is refused before any file is touched.

#include <optional>
#include <string>
#include <string_view>

#include "requesting-user.hpp"

namespace t48::xpc {

enum class ProfileFileKind { kCurrent, kPrevious, kSaveTemporary };

struct ProfileFileName {
    std::string leaf;  // the file's name inside the preferences folder
    std::string user;
    std::string model;
    ProfileFileKind kind = ProfileFileKind::kCurrent;
};

// The preferences folder under the filesystem root, without a trailing '/'.
std::string preferencesFolderPath();

// A user name a file name may carry: not empty, not "." or "..", no '/' and no NUL.
bool isAcceptableUserName(std::string_view name);
// A model name: as a user name, and also no '-' (the last '-' before "-profile" ends the
// user name, so a model with '-' could name another user's file).
bool isAcceptableModelName(std::string_view name);

// The leaf of `kind` for `user` and `model`.
std::string profileLeaf(std::string_view user, std::string_view model, ProfileFileKind kind);

// Splits "<user>-<model>-profile.plist" (and the ".prev.plist" and ".plist.dummy" forms).
std::optional<ProfileFileName> parseProfileLeaf(std::string_view leaf);

// The file an absolute path names, when it lies directly in the preferences folder (spelt
// exactly as preferencesFolderPath()) and belongs to a user `requester` may act for.
std::optional<ProfileFileName> profileFileForPath(std::string_view path,
                                                  const RequestingUser& requester);
// The same for a "file:" URL (RFC 8089; no host other than "localhost").
std::optional<ProfileFileName> profileFileForURL(std::string_view url,
                                                 const RequestingUser& requester);

}  // namespace t48::xpc
