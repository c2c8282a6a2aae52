#include "profile-files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>

#include "profile-store.hpp"
#include "whole-file.hpp"

namespace t48::store {

namespace {

inline constexpr mode_t kCreateMode = 0664;
inline constexpr int kTempNameAttempts = 64;

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file descriptor closed when it goes out of scope (unless released).
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now and reports whether close succeeded (a deferred write error shows here).
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool flushFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.get() >= 0 && ::fsync(dir.get()) == 0;
}

// Creates a fresh temporary file beside `path`; its name goes to `tempPath`.
int createTempBeside(const std::string& path, std::string* tempPath) {
    static std::atomic<unsigned> counter{0};
    std::string folder = folderOf(path);
    std::string base = path.substr(path.rfind('/') + 1);
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".tmp-%d-%x-%llx", static_cast<int>(getpid()),
                      counter.fetch_add(1), static_cast<unsigned long long>(ticks) & 0xFFFFFF);
        *tempPath = folder + "/." + base + suffix;
        int fd = ::open(tempPath->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        kCreateMode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

// The process id in a temporary name ".<base>.tmp-<pid>-..." of `base`, or 0.
pid_t temporaryOwnerPid(std::string_view name, std::string_view base) {
    std::string prefix = "." + std::string(base) + ".tmp-";
    if (name.substr(0, prefix.size()) != prefix) {
        return 0;
    }
    long long pid = 0;
    std::size_t i = prefix.size();
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 0x7FFFFFFF; ++i) {
        pid = pid * 10 + (name[i] - '0');
    }
    return i < name.size() && name[i] == '-' ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

void removeStaleTemporaries(int folderFd, std::string_view leaf) {
    int scanFd = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = scanFd >= 0 ? ::fdopendir(scanFd) : nullptr;
    if (dir == nullptr) {
        if (scanFd >= 0) {
            ::close(scanFd);
        }
        return;
    }
    while (dirent* item = ::readdir(dir)) {
        pid_t pid = temporaryOwnerPid(item->d_name, leaf);
        struct stat info {};
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH ||
            ::fstatat(folderFd, item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        ::unlinkat(folderFd, item->d_name, 0);
    }
    ::closedir(dir);
}

int writeFileAtomically(const std::string& path, std::string_view bytes) {
    {
        Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.get() >= 0) {
            removeStaleTemporaries(folder.get(), path.substr(path.rfind('/') + 1));
        }
    }
    std::string tempPath;
    Descriptor temp(createTempBeside(path, &tempPath));
    if (temp.get() < 0) {
        return kStoreFailed;
    }
    struct stat old {};
    bool ok = file::writeAll(temp.get(), bytes);
    if (ok && ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(temp.get(), old.st_mode & 07777) == 0;
    }
    ok = ok && ::fsync(temp.get()) == 0;
    ok = temp.close() && ok;
    ok = ok && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return kStoreFailed;
    }
    return flushFolder(folderOf(path)) ? kStoreOK : kStoreFailed;
}

int copyFileAtomically(const std::string& from, const std::string& to) {
    std::string content;
    if (readWholeFile(from, &content) != kStoreOK) {
        if (::access(from.c_str(), F_OK) == 0) {
            return kStoreFailed;  // there, but unreadable: keep the old copy
        }
        content.clear();
    }
    return writeFileAtomically(to, content);
}

int writeTestFile(const std::string& path) {
    bool existed = ::access(path.c_str(), F_OK) == 0;
    ::umask(002);
    int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, kCreateMode);
    if (fd < 0) {
        return 0;
    }
    ::close(fd);
    if (!existed) {
        ::unlink(path.c_str());
    }
    return 1;
}

int fileOpensForReading(const std::string& path) {
    // Non-blocking: opening a FIFO planted under the name must not stall the walk.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    ::close(fd);
    return 1;
}

int removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 1 : 0;
}

int moveFileOver(const std::string& from, const std::string& to) {
    if (::access(from.c_str(), F_OK) != 0) {
        return kStoreOK;
    }
    if (::rename(from.c_str(), to.c_str()) != 0) {
        return kStoreFailed;
    }
    return flushFolder(folderOf(to)) ? kStoreOK : kStoreFailed;
}

int readWholeFile(const std::string& path, std::string* out) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::size_t>(info.st_size) > kMaxProfileFileSize) {
        return kStoreFailed;
    }
    out->reserve(static_cast<std::size_t>(info.st_size));
    return file::readAll(file.get(), out, kMaxProfileFileSize) ? kStoreOK : kStoreFailed;
}

}  // namespace t48::store
