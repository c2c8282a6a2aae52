#pragma once
// File work inside the preferences folder, always relative to one descriptor of the
// folder and by leaf name, so that a request can reach nothing outside it. No operation
// follows a symbolic link. A file is written only when it is a regular file with one link
// that belongs to the service's user (or, for a service running as root, to the user the
// file is named for); replacing a file always goes through a temporary file and a rename,
// so a crash leaves the old content or the new, never a mixture.

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::xpc {

// Neither a save's temporary file nor a profile file larger than this is read.
inline constexpr std::size_t kMaxProfileBytes = 16u << 20;

class PreferencesFolder {
public:
    // Opens the preferences folder (following links only in the folder's own path).
    PreferencesFolder();
    ~PreferencesFolder();
    PreferencesFolder(const PreferencesFolder&) = delete;
    PreferencesFolder& operator=(const PreferencesFolder&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Owner a file named for `user` may have besides the service's own user.
    void setNamedUser(std::string_view user);

    // The write test: opens `leaf` for appending, creating it 0664 if absent, and removes
    // it again if it was created. True when the open succeeded on a file we may write.
    bool writeTest(const std::string& leaf);
    // True when `leaf` is a regular file that opens for reading.
    bool opensForReading(const std::string& leaf);
    bool remove(const std::string& leaf);
    // True when something (of any type) has the name `leaf`.
    bool exists(const std::string& leaf);
    // Appends `bytes` to an existing file we may write, unless it would then exceed
    // kMaxProfileBytes.
    bool append(const std::string& leaf, std::string_view bytes);
    // Replaces (or creates) `leaf` with `bytes`; `flush` makes it survive a power loss.
    bool replace(const std::string& leaf, std::string_view bytes, bool flush);
    // Replaces `to` by a copy of `from`; a missing `from` gives an empty `to`.
    bool copy(const std::string& from, const std::string& to);
    // Renames `from` over `to` after flushing it; false (nothing changed) when `from` is
    // missing or not a file we may write.
    bool moveOver(const std::string& from, const std::string& to);

    // Installs `from` as `to` when its content passes `check`. The file is first moved to a
    // name of its own, so that a save starting meanwhile under `from` cannot slip in
    // unchecked; it gets the permissions of the file it replaces, is flushed and renamed.
    // On failure `to` is unchanged and the moved file is removed.
    bool installChecked(const std::string& from, const std::string& to,
                        bool (*check)(std::string_view));

private:
    // Opens an existing `leaf` with `flags` (O_NOFOLLOW added); -1 unless it is a regular
    // file with one link and an acceptable owner.
    int openOwnFile(const std::string& leaf, int flags);
    bool acceptableOwner(uid_t owner) const;

    int fd_ = -1;
    uid_t namedUserId_ = static_cast<uid_t>(-1);
};

}  // namespace t48::xpc
