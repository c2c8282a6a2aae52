#include "xpc-activation.hpp"

#include <sys/socket.h>
#include <systemd/sd-daemon.h>

namespace t48::xpc {

int activatedSocket() {
    int count = sd_listen_fds(1);
    if (count < 1) {
        return -1;
    }
    int fd = SD_LISTEN_FDS_START;
    if (sd_is_socket_unix(fd, SOCK_STREAM, 1, nullptr, 0) <= 0) {
        return -1;
    }
    return fd;
}

}  // namespace t48::xpc
