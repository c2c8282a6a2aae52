#include "preferences-folder.hpp"

#include <fcntl.h>
#include <pwd.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "profile-file-names.hpp"
#include "profile-files.hpp"
#include "whole-file.hpp"

namespace t48::xpc {
namespace {

constexpr mode_t kProfileFileMode = 0664;

// A fresh name beside `leaf` for the temporary file of a replacement.
std::string temporaryLeaf(const std::string& leaf) {
    unsigned char random[6] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        return {};
    }
    // The process id lets a later save tell the leftovers of a killed service.
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "%d-%02x%02x%02x%02x%02x%02x", static_cast<int>(getpid()),
                  random[0], random[1], random[2], random[3], random[4], random[5]);
    return "." + leaf + ".tmp-" + suffix;
}

}  // namespace

PreferencesFolder::PreferencesFolder() {
    fd_ = open(preferencesFolderPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

PreferencesFolder::~PreferencesFolder() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

void PreferencesFolder::setNamedUser(std::string_view user) {
    std::string name(user);
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    // Connections run at the same time: the re-entrant lookup.
    bool known = getpwnam_r(name.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
                 found != nullptr;
    namedUserId_ = known ? found->pw_uid : static_cast<uid_t>(-1);
}

bool PreferencesFolder::acceptableOwner(uid_t owner) const {
    return owner == geteuid() || (geteuid() == 0 && owner == namedUserId_);
}

int PreferencesFolder::openOwnFile(const std::string& leaf, int flags) {
    if (fd_ < 0) {
        return -1;
    }
    int fd = openat(fd_, leaf.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_nlink != 1 ||
        !acceptableOwner(info.st_uid)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool PreferencesFolder::writeTest(const std::string& leaf) {
    if (fd_ < 0) {
        return false;
    }
    struct stat before;
    bool existed = fstatat(fd_, leaf.c_str(), &before, AT_SYMLINK_NOFOLLOW) == 0;
    if (existed) {
        int fd = openOwnFile(leaf, O_RDWR | O_APPEND);
        if (fd < 0) {
            return false;
        }
        close(fd);
        return true;
    }
    int fd = openat(fd_, leaf.c_str(),
                    O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                    kProfileFileMode);
    if (fd < 0) {
        return false;
    }
    close(fd);
    unlinkat(fd_, leaf.c_str(), 0);
    return true;
}

bool PreferencesFolder::opensForReading(const std::string& leaf) {
    if (fd_ < 0) {
        return false;
    }
    int fd = openat(fd_, leaf.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info;
    bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return regular;
}

bool PreferencesFolder::remove(const std::string& leaf) {
    return fd_ >= 0 && unlinkat(fd_, leaf.c_str(), 0) == 0;
}

bool PreferencesFolder::exists(const std::string& leaf) {
    struct stat info;
    return fd_ >= 0 && fstatat(fd_, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool PreferencesFolder::append(const std::string& leaf, std::string_view bytes) {
    int fd = openOwnFile(leaf, O_WRONLY | O_APPEND);
    if (fd < 0) {
        return false;
    }
    struct stat info;
    bool appended = fstat(fd, &info) == 0 &&
                    static_cast<std::size_t>(info.st_size) + bytes.size() <= kMaxProfileBytes &&
                    file::writeAll(fd, bytes);
    return close(fd) == 0 && appended;
}

bool PreferencesFolder::replace(const std::string& leaf, std::string_view bytes, bool flush) {
    if (fd_ < 0) {
        return false;
    }
    // An existing file we may not write is not replaced either.
    struct stat old;
    bool existed = fstatat(fd_, leaf.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (existed) {
        int fd = openOwnFile(leaf, O_RDONLY);
        if (fd < 0) {
            return false;
        }
        close(fd);
    }
    store::removeStaleTemporaries(fd_, leaf);
    std::string temporary = temporaryLeaf(leaf);
    int fd = temporary.empty()
                 ? -1
                 : openat(fd_, temporary.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kProfileFileMode);
    if (fd < 0) {
        return false;
    }
    bool written = file::writeAll(fd, bytes);
    if (written && existed) {
        written = fchmod(fd, old.st_mode & 07777) == 0;
        if (written && geteuid() == 0) {
            written = fchown(fd, old.st_uid, old.st_gid) == 0;
        }
    }
    if (written && flush) {
        written = fsync(fd) == 0;
    }
    written = close(fd) == 0 && written;
    if (!written || renameat(fd_, temporary.c_str(), fd_, leaf.c_str()) != 0) {
        unlinkat(fd_, temporary.c_str(), 0);
        return false;
    }
    return !flush || fsync(fd_) == 0;
}

bool PreferencesFolder::copy(const std::string& from, const std::string& to) {
    std::string bytes;
    int fd = openat(fd_, from.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno != ENOENT) {
        return false;  // there but not openable (a link, no descriptor left): no empty copy
    }
    if (fd >= 0) {
        struct stat info;
        bool usable = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                      file::readAll(fd, &bytes, kMaxProfileBytes);
        close(fd);
        if (!usable) {
            return false;
        }
    }
    return replace(to, bytes, true);
}

bool PreferencesFolder::moveOver(const std::string& from, const std::string& to) {
    int fd = openOwnFile(from, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    bool flushed = fsync(fd) == 0;
    close(fd);
    if (!flushed) {
        return false;
    }
    struct stat old;
    if (fstatat(fd_, to.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        // Never rename over something that is not a file of ours (a link, a folder).
        int target = openOwnFile(to, O_RDONLY);
        if (target < 0) {
            return false;
        }
        close(target);
    }
    if (renameat(fd_, from.c_str(), fd_, to.c_str()) != 0) {
        return false;
    }
    fsync(fd_);
    return true;
}

bool PreferencesFolder::installChecked(const std::string& from, const std::string& to,
                                       bool (*check)(std::string_view)) {
    int fd = openOwnFile(from, O_RDONLY);
    if (fd < 0) {
        return false;
    }
    close(fd);
    std::string claimed = temporaryLeaf(from);
    if (claimed.empty() || renameat(fd_, from.c_str(), fd_, claimed.c_str()) != 0) {
        return false;
    }
    std::string bytes;
    fd = openOwnFile(claimed, O_RDONLY);
    bool ok = fd >= 0 && file::readAll(fd, &bytes, kMaxProfileBytes) && check(bytes);
    struct stat old;
    if (ok && fstatat(fd_, to.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        // Never rename over something that is not a file of ours (a link, a folder).
        int target = openOwnFile(to, O_RDONLY);
        ok = target >= 0 && fchmod(fd, old.st_mode & 07777) == 0;
        if (target >= 0) {
            close(target);
        }
    }
    ok = ok && fsync(fd) == 0;
    if (fd >= 0) {
        close(fd);
    }
    if (!ok || renameat(fd_, claimed.c_str(), fd_, to.c_str()) != 0) {
        unlinkat(fd_, claimed.c_str(), 0);
        return false;
    }
    fsync(fd_);
    return true;
}

}  // namespace t48::xpc
