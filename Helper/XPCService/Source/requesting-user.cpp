#include "requesting-user.hpp"

#include <pwd.h>
#include <unistd.h>

#include <vector>

namespace t48::xpc {

std::optional<RequestingUser> requestingUserFor(uid_t uid) {
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
        found->pw_name == nullptr || *found->pw_name == '\0') {
        return std::nullopt;
    }
    return RequestingUser{uid, found->pw_name};
}

std::optional<RequestingUser> serviceUser() {
    return requestingUserFor(geteuid());
}

}  // namespace t48::xpc
