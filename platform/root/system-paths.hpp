#pragma once
// The system's constant paths. Each has one place on an installed machine, fixed by the
// build from the install prefix (platform/root/system-paths.cmake), and is used under
// the filesystem root in force (root-path.hpp).

#include <string>
#include <string_view>

namespace t48 {

enum class SystemPath {
    kPreferencesFolder,  // the users' profile files
    kHelper,             // T48Helper
    kDownloadManager,    // the download manager application
    kPrinterIcon,        // the profile window's printer icon
    kProfilesFolder,     // where the profile window's open panel starts
    kDriverPPD,          // the T48 PPD of the installed driver
};

// Where `which` lives on an installed machine: an absolute path, before the root.
std::string_view installedPath(SystemPath which);

// `which` under the filesystem root in force.
std::string systemPath(SystemPath which);

}  // namespace t48
