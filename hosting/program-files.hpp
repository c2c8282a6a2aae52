#pragma once
// The files a host program finds beside itself: in the build tree, or where the package
// installs them.

#include <initializer_list>
#include <string>

namespace t48::hosting {

// The first of `candidates` (relative to this program's folder) that exists, else the
// first of them.
std::string besideProgram(std::initializer_list<const char*> candidates);

// The panel plug-in beside this program: the build tree's, else the installed one of a
// program in /usr/bin or in CUPS's filter folder (/usr/lib/cups/filter).
std::string defaultPlugInPath();

}  // namespace t48::hosting
