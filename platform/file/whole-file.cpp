#include "whole-file.hpp"

#include <unistd.h>

#include <cerrno>

namespace t48::file {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool readAll(int fd, std::string* out, std::size_t limit) {
    out->clear();
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (out->size() + static_cast<std::size_t>(got) > limit) {
            return false;
        }
        out->append(block, static_cast<std::size_t>(got));
    }
}

}  // namespace t48::file
