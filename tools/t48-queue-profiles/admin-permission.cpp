#include "admin-permission.hpp"

#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace t48::tools {

bool mayAdministerQueues() {
    if (geteuid() == 0) {
        return true;
    }
    const group* admins = getgrnam(kPrinterAdminGroup);
    if (admins == nullptr) {
        return false;
    }
    const gid_t admin = admins->gr_gid;
    if (getegid() == admin) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int read = count > 0 ? getgroups(count, groups.data()) : 0;
    return read > 0 && std::find(groups.begin(), groups.begin() + read, admin) != groups.end();
}

}  // namespace t48::tools
