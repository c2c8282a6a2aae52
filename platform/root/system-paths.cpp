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
