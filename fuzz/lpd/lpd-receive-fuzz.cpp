// The printer's LPD side over an arbitrary byte stream from a client. Beyond what the
// sanitizers catch: a connection leaves either nothing or one whole job folder (queue,
// control and data files) in the jobs folder, never a job in progress or a file outside.

#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "lpd-receiver.hpp"

namespace {

namespace fs = std::filesystem;

// Made once and removed at exit (the path outlives every static destructor).
const std::string& jobsFolder() {
    static const std::string* folder = [] {
        char pattern[] = "/tmp/t48-lpd-fuzz-XXXXXX";
        auto* path = new std::string(mkdtemp(pattern));
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(jobsFolder(), ignored);
        });
        return path;
    }();
    return *folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        return 0;
    }
    if (write(ends[0], data, size) != static_cast<ssize_t>(size)) {
        close(ends[0]);
        close(ends[1]);
        return 0;
    }
    shutdown(ends[0], SHUT_WR);
    t48::sim::JobFolder jobs(jobsFolder());
    t48::sim::serveLpdConnection(ends[1], jobs, {.timeoutSeconds = 1});
    close(ends[0]);

    int folders = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(jobsFolder())) {
        const std::string name = entry.path().filename();
        if (!entry.is_directory() || name != "0001" || ++folders > 1 ||
            !fs::exists(entry.path() / "queue") || !fs::exists(entry.path() / "control") ||
            !fs::exists(entry.path() / "data")) {
            std::abort();
        }
        fs::remove_all(entry.path());
    }
    return 0;
}
