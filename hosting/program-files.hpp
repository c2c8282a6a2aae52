#pragma once
// The files a host program finds beside itself: in the build tree, or where the package
// installs them.

#include <initializer_list>
#include <string>

namespace t48::hosting {

// The first of `candidates` (relative to this program's folder) that exists, else the
// first of them.
std::string besideProgram(std::initializer_list<const char*> candidates);

// The panel plug-in beside this program.
std::string defaultPlugInPath();

}  // namespace t48::hosting
