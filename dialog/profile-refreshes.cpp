#include "profile-refreshes.hpp"

#include <fcntl.h>
#include <glib-unix.h>
#include <unistd.h>

#include <cerrno>

namespace t48::dialog {

ProfileRefreshes::ProfileRefreshes(std::function<void()> ended) : ended_(std::move(ended)) {
    if (g_unix_open_pipe(endedPipe_, FD_CLOEXEC, nullptr) &&
        g_unix_set_fd_nonblocking(endedPipe_[0], TRUE, nullptr)) {
        endedWatch_ = g_unix_fd_add(
            endedPipe_[0], G_IO_IN,
            +[](gint, GIOCondition, gpointer data) -> gboolean {
                static_cast<ProfileRefreshes*>(data)->collectEnded();
                return G_SOURCE_CONTINUE;
            },
            this);
    }
}

ProfileRefreshes::~ProfileRefreshes() {
    for (std::thread& thread : threads_) {
        thread.join();
    }
    if (endedWatch_ != 0) {
        g_source_remove(endedWatch_);
    }
    for (int fd : endedPipe_) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void ProfileRefreshes::start(const std::string& queue, pde::PDEProfileRefresh refresh) {
    if (!refresh || !started_.insert(queue).second) {
        return;
    }
    if (endedWatch_ == 0) {
        refresh();  // without a way to hear of its end, the refresh is waited for
        return;
    }
    ++running_;
    threads_.emplace_back([refresh = std::move(refresh), done = endedPipe_[1]] {
        refresh();
        const char ended = 1;
        while (write(done, &ended, 1) < 0 && errno == EINTR) {
        }
    });
}

void ProfileRefreshes::collectEnded() {
    char ended[16];
    ssize_t count = 0;
    while ((count = read(endedPipe_[0], ended, sizeof ended)) > 0) {
        running_ -= static_cast<int>(count);
        ended_();
    }
}

}  // namespace t48::dialog
