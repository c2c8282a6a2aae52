#include "task.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace t48::task {

namespace {

using Clock = std::chrono::steady_clock;

// Without a pidfd (old kernels) the exit is noticed by polling at this pace.
constexpr int kExitPollMs = 2;

int openPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

class OutputSink {
public:
    explicit OutputSink(TaskResult* result) : result_(result) {}
    // Reads what `fd` holds now: false at end of file or on a read error.
    bool readOnce(int fd) {
        char buffer[65536];
        for (;;) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                return got < 0 && errno == EAGAIN;
            }
            append(buffer, static_cast<std::size_t>(got));
            return true;
        }
    }

private:
    void append(const char* bytes, std::size_t size) {
        std::size_t room = kMaxOutputBytes - result_->output.size();
        if (size > room) {
            result_->outputCut = true;
            size = room;
        }
        result_->output.append(bytes, size);
    }
    TaskResult* result_;
};

void recordWaitStatus(int status, TaskResult* result) {
    if (WIFEXITED(status)) {
        result->status = TaskStatus::kExited;
        result->exitCode = WEXITSTATUS(status);
    } else {
        result->status = TaskStatus::kSignalled;
    }
}

// After the program has exited, takes what is left in the pipe without waiting for an
// end of file that a stray grandchild holding the pipe could put off for ever (and at
// most kMaxOutputBytes more, should that grandchild go on writing).
void drainAfterExit(int fd, OutputSink* sink) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    for (std::size_t rounds = kMaxOutputBytes / 65536; rounds > 0 && sink->readOnce(fd); --rounds) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 0) <= 0) {
            break;
        }
    }
}

// Starts `path` with its standard output on a new pipe whose reading end is `*out`;
// standard input and error are inherited and every other descriptor is closed. The
// child shares the caller's memory until it executes (no copy of a large address space
// as a fork makes), and a program that cannot be executed is reported here.
bool startWithOutputPipe(const std::string& path, char* const* argv, pid_t* pid, int* out) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    bool ready = posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO) == 0 &&
                 posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1) == 0;
    bool started = ready && posix_spawn(pid, path.c_str(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (!started) {
        close(ends[0]);
        return false;
    }
    *out = ends[0];
    return true;
}

}  // namespace

TaskResult runTask(const std::string& path, const std::vector<std::string>& arguments,
                   std::chrono::milliseconds timeLimit) {
    TaskResult result;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 2);
    argv.push_back(const_cast<char*>(path.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    int out = -1;
    if (!startWithOutputPipe(path, argv.data(), &pid, &out)) {
        return result;
    }

    const Clock::time_point deadline = Clock::now() + timeLimit;
    const int pidfd = openPidfd(pid);
    OutputSink sink(&result);
    bool outputOpen = true;
    for (;;) {
        int status = 0;
        pid_t waited = waitpid(pid, &status, WNOHANG);
        if (waited == pid) {
            recordWaitStatus(status, &result);
            if (outputOpen) {
                drainAfterExit(out, &sink);
            }
            break;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (waited < 0 && errno != EINTR) {
            break;  // reaped elsewhere: nothing to wait for
        }
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            result.status = TaskStatus::kTimedOut;
            break;
        }
        pollfd fds[2];
        nfds_t count = 0;
        if (outputOpen) {
            fds[count++] = {out, POLLIN, 0};
        }
        if (pidfd >= 0) {
            fds[count++] = {pidfd, POLLIN, 0};
        }
        int waitMs = static_cast<int>(std::min<long long>(left.count(), 1000));
        if (pidfd < 0) {
            waitMs = std::min(waitMs, outputOpen ? 50 : kExitPollMs);
        }
        int ready = poll(fds, count, waitMs);
        if (ready > 0 && outputOpen && (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            outputOpen = sink.readOnce(out);
        }
    }
    if (pidfd >= 0) {
        close(pidfd);
    }
    close(out);
    return result;
}

}  // namespace t48::task
