#include "root-path.hpp"

#include <cstdlib>

namespace t48 {

std::string filesystemRoot() {
    const char* fromEnvironment = std::getenv("T48_ROOT");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') {
        return fromEnvironment;
    }
    return T48_DEFAULT_ROOT;
}

std::string rootedPath(std::string_view absolutePath) {
    std::string root = filesystemRoot();
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root + std::string(absolutePath);
}

}  // namespace t48
