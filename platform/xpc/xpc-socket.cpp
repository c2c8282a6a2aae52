#include "xpc-socket.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace t48::xpc {
namespace {

bool fillAddress(const std::string& path, sockaddr_un* address) {
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address->sun_path) {
        return false;
    }
    std::memcpy(address->sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool ensureParentFolder(const std::string& path, std::string* error) {
    std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) {
        return true;
    }
    std::string parent = path.substr(0, slash);
    if (mkdir(parent.c_str(), 0700) == 0 || errno == EEXIST) {
        struct stat info;
        if (stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return true;
        }
    }
    *error = "cannot create the socket folder " + parent + ": " + std::strerror(errno);
    return false;
}

}  // namespace

std::string serviceSocketPath() {
    const char* explicitPath = std::getenv("T48_XPC_SOCKET");
    if (explicitPath != nullptr && *explicitPath != '\0') {
        return explicitPath;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime != '\0') {
        return std::string(runtime) + "/t48/xpcservice.sock";
    }
    return {};
}

int connectServiceSocket(const std::string& path) {
    sockaddr_un address;
    if (!fillAddress(path, &address)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        int saved = errno;
        close(fd);
        errno = saved;
        return -1;
    }
    return fd;
}

int bindServiceSocket(const std::string& path, std::string* error) {
    sockaddr_un address;
    if (!fillAddress(path, &address)) {
        *error = "socket path empty or too long: " + path;
        return -1;
    }
    if (!ensureParentFolder(path, error)) {
        return -1;
    }
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    // The socket file is the owner's alone (mode 0600): the service starts no thread before
    // it binds, so the process-wide mask can be changed around the bind.
    mode_t savedMask = umask(0177);
    int bound = bind(fd, raw, sizeof address);
    if (bound != 0 && errno == EADDRINUSE) {
        int probe = connectServiceSocket(path);
        if (probe >= 0) {
            close(probe);
            close(fd);
            *error = "another service already listens on " + path;
            return -1;
        }
        struct stat info;
        if (lstat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode)) {
            unlink(path.c_str());
        }
        bound = bind(fd, raw, sizeof address);
    }
    umask(savedMask);
    if (bound != 0) {
        *error = "bind " + path + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    if (listen(fd, SOMAXCONN) != 0) {
        *error = std::string("listen: ") + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace t48::xpc
