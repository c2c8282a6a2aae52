#pragma once
// Opening an application given by its path.

#include <cstdint>
#include <string>

namespace t48::launch {

enum LaunchStatus : int32_t {
    kLaunchNoError = 0,
    kLaunchFileNotFound = -43,   // FSPathMakeRef: the path names no existing item
    kLaunchCannotOpen = -10810,  // the item exists but could not be started
};

// FSPathMakeRef: 0 when `path` names an existing item.
int32_t pathMakeRef(const std::string& path);

// LSOpenFSRef: starts the application at `path` without waiting for it. An executable
// file is run as it is; a folder "X.app" runs "X.app/X" inside it. The started program
// is not the caller's child (no zombie is left behind).
int32_t openApplication(const std::string& path);

}  // namespace t48::launch
