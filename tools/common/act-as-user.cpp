#include "act-as-user.hpp"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace t48::tools {

bool actAsUser(const std::string& user, std::string* problem) {
    if (geteuid() != 0) {
        return true;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwnam_r(user.c_str(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        *problem = "no such user: \"" + user + "\"";
        return false;
    }
    if (found->pw_uid == 0) {
        return true;
    }
    // Groups first: once the user id is given up, they can no longer be set.
    if (initgroups(found->pw_name, found->pw_gid) != 0 ||
        setresgid(found->pw_gid, found->pw_gid, found->pw_gid) != 0 ||
        setresuid(found->pw_uid, found->pw_uid, found->pw_uid) != 0) {
        *problem = "cannot act as user \"" + user + "\": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace t48::tools
