#include "program-files.hpp"

#include <filesystem>
#include <system_error>

namespace t48::hosting {

std::string besideProgram(std::initializer_list<const char*> candidates) {
    std::error_code ignored;
    const std::filesystem::path folder =
        std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    for (const char* candidate : candidates) {
        const std::filesystem::path path = folder / candidate;
        if (std::filesystem::exists(path, ignored)) {
            return path.lexically_normal();
        }
    }
    return (folder / *candidates.begin()).lexically_normal();
}

std::string defaultPlugInPath() {
    return besideProgram({"../PDE/colorpde.so", "../lib/t48/colorpde.so", "../../t48/colorpde.so"});
}

}  // namespace t48::hosting
