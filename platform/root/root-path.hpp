#pragma once
// Every constant path of the system (system-paths.hpp) is resolved under one filesystem
// root: the build's default, or $T48_ROOT.

#include <string>
#include <string_view>

namespace t48 {

// The filesystem root in force: $T48_ROOT when set and not empty, else the build default.
std::string filesystemRoot();

// `absolutePath` (which starts with '/') placed under the filesystem root.
std::string rootedPath(std::string_view absolutePath);

}  // namespace t48
