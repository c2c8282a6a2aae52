#include "preferences-folder.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "system-paths.hpp"
#include "whole-file.hpp"

namespace t48::store {
namespace {

constexpr mode_t kParentFolderMode = 0755;
constexpr mode_t kWritableByOthers = S_IWGRP | S_IWOTH;
constexpr int kTemporaryNameAttempts = 8;

thread_local std::string gRefusal;

std::string withSystemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// A file descriptor closed when it goes out of scope.
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

// A fresh name beside `leaf`: ".<leaf>.tmp-<pid>-<random>". The process id lets a later
// save tell the leftovers of a killed process.
std::string temporaryLeaf(const std::string& leaf) {
    unsigned char random[6] = {};
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        return {};
    }
    char suffix[40];
    std::snprintf(suffix, sizeof suffix, "%d-%02x%02x%02x%02x%02x%02x", static_cast<int>(getpid()),
                  random[0], random[1], random[2], random[3], random[4], random[5]);
    return "." + leaf + ".tmp-" + suffix;
}

// The process id in a temporary name of `leaf`, or 0.
pid_t temporaryOwnerPid(std::string_view name, const std::string& leaf) {
    std::string prefix = "." + leaf + ".tmp-";
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

bool processIsGone(pid_t pid) {
    return pid > 0 && pid != getpid() && kill(pid, 0) != 0 && errno == ESRCH;
}

}  // namespace

const std::string& lastFolderRefusal() {
    return gRefusal;
}

bool createPreferencesFolder() {
    const std::string folder = systemPath(SystemPath::kPreferencesFolder);
    struct stat info;
    if (lstat(folder.c_str(), &info) == 0) {
        return true;  // whatever it is: opening it checks it
    }
    if (geteuid() != 0) {
        gRefusal = "the preferences folder " + folder + " is missing, and only root can create it";
        return false;
    }
    for (std::size_t at = folder.find('/', 1); at != std::string::npos;
         at = folder.find('/', at + 1)) {
        const std::string parent = folder.substr(0, at);
        if (mkdir(parent.c_str(), kParentFolderMode) == 0) {
            chmod(parent.c_str(), kParentFolderMode);  // whatever the creation mask
        } else if (errno != EEXIST) {
            gRefusal = withSystemError("cannot create " + parent);
            return false;
        }
    }
    // Made private, then opened up: it never has another mode for anyone to use.
    if (mkdir(folder.c_str(), 0700) != 0) {
        if (errno == EEXIST) {
            return true;
        }
        gRefusal = withSystemError("cannot create the preferences folder " + folder);
        return false;
    }
    Descriptor made(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (made.get() < 0 || fchown(made.get(), 0, 0) != 0 ||
        fchmod(made.get(), kPreferencesFolderMode) != 0) {
        gRefusal = withSystemError("cannot give the preferences folder " + folder + " mode 1777");
        return false;
    }
    return true;
}

PreferencesFolder::PreferencesFolder(std::string_view user, FolderUse use)
    : path_(systemPath(SystemPath::kPreferencesFolder)), user_(user) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    // The service serves connections at the same time: the re-entrant lookup.
    if (getpwnam_r(user_.c_str(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr) {
        userKnown_ = true;
        userId_ = found->pw_uid;
        groupId_ = found->pw_gid;
    }
    if (use == FolderUse::kWrite && !createPreferencesFolder()) {
        return;
    }
    int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        gRefusal = withSystemError("cannot open the preferences folder " + path_);
        return;
    }
    struct stat info;
    bool safe = fstat(fd, &info) == 0 && (info.st_uid == 0 || info.st_uid == geteuid()) &&
                ((info.st_mode & kWritableByOthers) == 0 || (info.st_mode & S_ISVTX) != 0);
    if (!safe) {
        close(fd);
        gRefusal = "the preferences folder " + path_ +
                   " belongs to another user, or others may write it without the sticky bit";
        return;
    }
    fd_ = fd;
}

PreferencesFolder::~PreferencesFolder() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

bool PreferencesFolder::refuse(const std::string& leaf, const std::string& reason) {
    gRefusal = path_ + "/" + leaf + " " + reason;
    return false;
}

bool PreferencesFolder::accepts(const std::string& leaf, const struct stat& info, Need need) {
    if (!S_ISREG(info.st_mode)) {
        return refuse(leaf, "is not a regular file (it is a link, a folder or a special file)");
    }
    if (info.st_nlink != 1) {
        return refuse(leaf, "has more than one link");
    }
    const uid_t self = geteuid();
    if (need != Need::kOwn) {
        if (info.st_uid != 0 && !(userKnown_ && info.st_uid == userId_)) {
            return refuse(leaf,
                          "belongs to uid " + std::to_string(info.st_uid) + ", not to " + user_);
        }
        if ((info.st_mode & kWritableByOthers) != 0) {
            return refuse(leaf, "may be written by users other than its owner");
        }
    }
    if (need != Need::kReadable) {
        bool own = (self == 0 && (info.st_uid == 0 || (userKnown_ && info.st_uid == userId_))) ||
                   (userKnown_ && self == userId_ && info.st_uid == self);
        if (!own) {
            return refuse(leaf, "belongs to uid " + std::to_string(info.st_uid) +
                                    ", which this process (uid " + std::to_string(self) +
                                    ") may not write for " + user_);
        }
    }
    return true;
}

int PreferencesFolder::openFile(const std::string& leaf, int flags, Need need) {
    struct stat info;
    if (fd_ < 0) {
        return -1;
    }
    // Checked before the open too, so that nothing but a regular file is ever opened.
    if (fstatat(fd_, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        refuse(leaf, withSystemError("cannot be examined"));
        return -1;
    }
    if (!accepts(leaf, info, need)) {
        return -1;
    }
    int fd = openat(fd_, leaf.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        refuse(leaf, withSystemError("cannot be opened"));
        return -1;
    }
    if (fstat(fd, &info) != 0 || !accepts(leaf, info, need)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool PreferencesFolder::mayCreate(const std::string& leaf) {
    const uid_t self = geteuid();
    if (self == 0 || (userKnown_ && self == userId_)) {
        return true;
    }
    return refuse(leaf, "cannot be created for " + user_ + " by uid " + std::to_string(self));
}

bool PreferencesFolder::absentOrOwn(const std::string& leaf) {
    struct stat info;
    if (fstatat(fd_, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        return accepts(leaf, info, Need::kOwn);
    }
    if (errno != ENOENT) {
        return refuse(leaf, withSystemError("cannot be examined"));
    }
    return mayCreate(leaf);
}

bool PreferencesFolder::claim(int fd) const {
    if (fchmod(fd, kProfileFileMode) != 0) {
        return false;
    }
    bool forAnotherUser = geteuid() == 0 && userKnown_ && userId_ != 0;
    return !forAnotherUser || fchown(fd, userId_, groupId_) == 0;
}

int PreferencesFolder::createTemporary(const std::string& leaf, std::string* temporary) {
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        *temporary = temporaryLeaf(leaf);
        if (temporary->empty()) {
            return -1;
        }
        int fd = openat(fd_, temporary->c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kProfileFileMode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

void PreferencesFolder::removeStaleTemporaries(const std::string& leaf) {
    int scanFd = openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = scanFd >= 0 ? fdopendir(scanFd) : nullptr;
    if (dir == nullptr) {
        if (scanFd >= 0) {
            close(scanFd);
        }
        return;
    }
    const std::string kept = gRefusal;  // what is not removed here is no refusal
    while (dirent* item = readdir(dir)) {
        struct stat info;
        if (processIsGone(temporaryOwnerPid(item->d_name, leaf)) &&
            fstatat(fd_, item->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            accepts(item->d_name, info, Need::kOwn)) {
            unlinkat(fd_, item->d_name, 0);
        }
    }
    gRefusal = kept;
    closedir(dir);
}

bool PreferencesFolder::read(const std::string& leaf, std::string* out) {
    Descriptor file(openFile(leaf, O_RDONLY, Need::kReadable));
    struct stat info;
    if (file.get() < 0 || fstat(file.get(), &info) != 0) {
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > kMaxProfileFileSize) {
        return refuse(leaf, "is larger than a profile file can be");
    }
    out->reserve(static_cast<std::size_t>(info.st_size));
    return file::readAll(file.get(), out, kMaxProfileFileSize) ||
           refuse(leaf, withSystemError("cannot be read"));
}

bool PreferencesFolder::opensForReading(const std::string& leaf) {
    return Descriptor(openFile(leaf, O_RDONLY, Need::kReadable)).get() >= 0;
}

bool PreferencesFolder::exists(const std::string& leaf) {
    struct stat info;
    return fd_ >= 0 && fstatat(fd_, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

bool PreferencesFolder::writeTest(const std::string& leaf) {
    if (fd_ < 0) {
        return false;
    }
    if (exists(leaf)) {
        return Descriptor(openFile(leaf, O_RDWR | O_APPEND, Need::kOwn)).get() >= 0;
    }
    if (!mayCreate(leaf)) {
        return false;
    }
    int fd = openat(fd_, leaf.c_str(),
                    O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                    kProfileFileMode);
    if (fd < 0) {
        return refuse(leaf, withSystemError("cannot be created"));
    }
    close(fd);
    unlinkat(fd_, leaf.c_str(), 0);
    return true;
}

bool PreferencesFolder::remove(const std::string& leaf) {
    struct stat info;
    if (fd_ < 0 || fstatat(fd_, leaf.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
        !accepts(leaf, info, Need::kOwn)) {
        return false;
    }
    return unlinkat(fd_, leaf.c_str(), 0) == 0 ||
           refuse(leaf, withSystemError("cannot be removed"));
}

bool PreferencesFolder::append(const std::string& leaf, std::string_view bytes) {
    Descriptor file(openFile(leaf, O_WRONLY | O_APPEND, Need::kOwnReadable));
    struct stat info;
    if (file.get() < 0 || fstat(file.get(), &info) != 0) {
        return false;
    }
    bool appended = static_cast<std::size_t>(info.st_size) + bytes.size() <= kMaxProfileFileSize &&
                    file::writeAll(file.get(), bytes);
    return file.close() && appended;
}

bool PreferencesFolder::replace(const std::string& leaf, std::string_view bytes, bool flush) {
    if (fd_ < 0 || !absentOrOwn(leaf)) {
        return false;
    }
    removeStaleTemporaries(leaf);
    std::string temporary;
    Descriptor file(createTemporary(leaf, &temporary));
    if (file.get() < 0) {
        return refuse(leaf, withSystemError("cannot be replaced: no temporary file beside it"));
    }
    bool written = file::writeAll(file.get(), bytes) && claim(file.get()) &&
                   (!flush || fsync(file.get()) == 0);
    written = file.close() && written;
    if (!written || renameat(fd_, temporary.c_str(), fd_, leaf.c_str()) != 0) {
        unlinkat(fd_, temporary.c_str(), 0);
        return refuse(leaf, withSystemError("cannot be replaced"));
    }
    return !flush || fsync(fd_) == 0;
}

bool PreferencesFolder::copy(const std::string& from, const std::string& to) {
    if (fd_ < 0) {
        return false;
    }
    std::string bytes;
    if (exists(from) && !read(from, &bytes)) {
        return false;  // there but not readable: no empty copy
    }
    return replace(to, bytes, true);
}

bool PreferencesFolder::moveOver(const std::string& from, const std::string& to) {
    Descriptor source(openFile(from, O_RDONLY, Need::kOwnReadable));
    if (source.get() < 0 || !claim(source.get()) || fsync(source.get()) != 0 || !absentOrOwn(to)) {
        return false;
    }
    if (renameat(fd_, from.c_str(), fd_, to.c_str()) != 0) {
        return refuse(to, withSystemError("cannot be replaced"));
    }
    fsync(fd_);
    return true;
}

bool PreferencesFolder::installChecked(const std::string& from, const std::string& to,
                                       bool (*check)(std::string_view)) {
    if (Descriptor(openFile(from, O_RDONLY, Need::kOwnReadable)).get() < 0) {
        return false;
    }
    std::string claimed = temporaryLeaf(from);
    if (claimed.empty() || renameat(fd_, from.c_str(), fd_, claimed.c_str()) != 0) {
        return false;
    }
    Descriptor file(openFile(claimed, O_RDONLY, Need::kOwnReadable));
    std::string bytes;
    bool ok = file.get() >= 0 && claim(file.get()) &&
              file::readAll(file.get(), &bytes, kMaxProfileFileSize) && check(bytes) &&
              absentOrOwn(to) && fsync(file.get()) == 0;
    if (!ok || renameat(fd_, claimed.c_str(), fd_, to.c_str()) != 0) {
        unlinkat(fd_, claimed.c_str(), 0);
        return false;
    }
    fsync(fd_);
    return true;
}

}  // namespace t48::store
