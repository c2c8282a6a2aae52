#pragma once
// A support tool run as root on behalf of a user does its file work as that user, so
// that every file it reads or writes is checked with the user's permissions and every
// file it creates belongs to the user, as if the user's own service had made it.

#include <string>

namespace t48::tools {

// Run as root for `user` (not root itself): takes on the user's identity for good, its
// groups, group id and user id (real, effective and saved). Run by anyone else, or for
// root, nothing changes. False, with the reason in `problem`, when `user` has no account
// or the switch fails.
bool actAsUser(const std::string& user, std::string* problem);

}  // namespace t48::tools
