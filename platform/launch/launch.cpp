#include "launch.hpp"

#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace t48::launch {

int32_t pathMakeRef(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? kLaunchNoError : kLaunchFileNotFound;
}

int32_t openApplication(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return kLaunchFileNotFound;
    }
    std::string program = path;
    if (S_ISDIR(info.st_mode)) {
        std::string name = path.substr(path.rfind('/') + 1);
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".app") == 0) {
            name.resize(name.size() - 4);
        }
        program = path + "/" + name;
    }
    if (access(program.c_str(), X_OK) != 0) {
        return kLaunchCannotOpen;
    }
    gchar* argv[] = {program.data(), nullptr};
    // Without G_SPAWN_DO_NOT_REAP_CHILD GLib starts the program through an intermediate
    // child, so it is reparented and never becomes our zombie.
    const gboolean started = g_spawn_async(nullptr, argv, nullptr, G_SPAWN_STDOUT_TO_DEV_NULL,
                                           nullptr, nullptr, nullptr, nullptr);
    return started ? kLaunchNoError : kLaunchCannotOpen;
}

}  // namespace t48::launch
