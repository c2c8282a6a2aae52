#pragma once
// The user on whose behalf a connection's requests run: the peer's user id and its login
// name. Root may act for any user; everyone else only for themselves.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace t48::xpc {

struct RequestingUser {
    uid_t uid = static_cast<uid_t>(-1);
    std::string loginName;

    bool isRoot() const { return uid == 0; }
    // True when requests of this user may touch files named for `user`.
    bool mayActFor(std::string_view user) const { return isRoot() || user == loginName; }
};

// The login name of `uid` from the password database; empty when it has no entry.
std::optional<RequestingUser> requestingUserFor(uid_t uid);

// The user this service process runs as.
std::optional<RequestingUser> serviceUser();

}  // namespace t48::xpc
