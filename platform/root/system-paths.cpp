#include "system-paths.hpp"

#include "root-path.hpp"

namespace t48 {
namespace {

struct SystemPathRow {
    SystemPath which;
    std::string_view path;
};

constexpr SystemPathRow kSystemPaths[] = {
#include "system-paths-table.inc"
};

constexpr bool everyPathHasARow() {
    for (SystemPath which :
         {SystemPath::kPreferencesFolder, SystemPath::kHelper, SystemPath::kDownloadManager,
          SystemPath::kPrinterIcon, SystemPath::kProfilesFolder, SystemPath::kDriverPPD}) {
        bool found = false;
        for (const SystemPathRow& row : kSystemPaths) {
            found = found || (row.which == which && row.path.starts_with('/'));
        }
        if (!found) {
            return false;
        }
    }
    return true;
}
// A path missing from the table would resolve to the bare filesystem root.
static_assert(everyPathHasARow(), "platform/root/system-paths.cmake lacks a path");

}  // namespace

std::string_view installedPath(SystemPath which) {
    for (const SystemPathRow& row : kSystemPaths) {
        if (row.which == which) {
            return row.path;
        }
    }
    return {};
}

std::string systemPath(SystemPath which) {
    return rootedPath(installedPath(which));
}

}  // namespace t48
