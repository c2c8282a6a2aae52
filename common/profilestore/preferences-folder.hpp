#pragma once
// The preferences folder and the profile files in it. Every user's files share the one
// folder (root's, mode 1777: anyone may create a file, nobody may remove another's), so
// a name may hold anything another user planted. This module is the one place that opens
// those files: for the service, for the store's readers and writers in every program,
// and for the support tools.
//
// The folder is opened once per object, without following a link, and every file is
// reached relative to it by its leaf name, never through a link. A file counts only when
// it is a regular file with one link:
//   - readable when it belongs to the user it is named for (or to root) and nobody else
//     may write it; anything else under the name counts as absent;
//   - the process's own when it belongs to the process's user, or, for a process running
//     as root, to the user it is named for (or to root). Only its own files are written,
//     replaced or removed.
// New files are created exclusively with mode 0600 and, by a process running as root,
// given to the user they are named for. A file is replaced by a temporary file beside it
// renamed over it, so a crash leaves the old content or the new, never a mixture.

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::store {

// Files larger than this are not read (a full profile file is about half a megabyte).
inline constexpr std::size_t kMaxProfileFileSize = 16u << 20;
inline constexpr mode_t kProfileFileMode = 0600;
inline constexpr mode_t kPreferencesFolderMode = 01777;

// Creates the preferences folder when it is missing: as root only, mode 1777 and owned
// by root, with missing parents 0755. True when the folder is there afterwards; false,
// with the reason in lastFolderRefusal(), when it is missing and cannot be made.
bool createPreferencesFolder();

// Why the latest refused operation of this thread was refused, for a person to read
// ("PATH is missing, ..."). Like errno, set only by a refusal.
const std::string& lastFolderRefusal();

enum class FolderUse {
    kRead,   // never creates the folder
    kWrite,  // creates a missing folder first (createPreferencesFolder)
};

class PreferencesFolder {
public:
    // Opens the preferences folder for work on the files named for `user`. A folder that
    // is a link, belongs to a user other than root and the process's, or that others may
    // write without the sticky bit, is not opened.
    explicit PreferencesFolder(std::string_view user, FolderUse use = FolderUse::kRead);
    ~PreferencesFolder();
    PreferencesFolder(const PreferencesFolder&) = delete;
    PreferencesFolder& operator=(const PreferencesFolder&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Reads a readable `leaf` of at most kMaxProfileFileSize bytes whole.
    bool read(const std::string& leaf, std::string* out);
    // True when `leaf` is readable.
    bool opensForReading(const std::string& leaf);
    // True when something (of any type, anyone's) has the name `leaf`.
    bool exists(const std::string& leaf);
    // The write test: true when `leaf` is the process's own and opens for writing, or is
    // absent and could be created (it is created and removed again).
    bool writeTest(const std::string& leaf);
    // Removes `leaf` when it is the process's own.
    bool remove(const std::string& leaf);
    // Appends `bytes` to a readable file of the process's own, unless it would then
    // exceed kMaxProfileFileSize.
    bool append(const std::string& leaf, std::string_view bytes);
    // Replaces `leaf` (absent, or the process's own) with `bytes`; `flush` makes it
    // survive a power loss.
    bool replace(const std::string& leaf, std::string_view bytes, bool flush);
    // Replaces `to` by a copy of a readable `from`; a missing `from` gives an empty `to`,
    // one that is there but not readable gives nothing.
    bool copy(const std::string& from, const std::string& to);
    // Renames a readable `from` of the process's own over `to` (absent, or the process's
    // own) after flushing it; false, and nothing changes, when `from` is missing.
    bool moveOver(const std::string& from, const std::string& to);
    // Installs `from` as `to` when its content passes `check`. The file is first moved to
    // a name of its own, so that a save starting meanwhile under `from` cannot slip in
    // unchecked. On failure `to` is unchanged and the moved file is removed.
    bool installChecked(const std::string& from, const std::string& to,
                        bool (*check)(std::string_view));

private:
    // What a file must be for an operation (see the top of this file).
    enum class Need { kReadable, kOwn, kOwnReadable };

    // True when `info` of `leaf` is what `need` asks; else records why not.
    bool accepts(const std::string& leaf, const struct stat& info, Need need);
    // Opens an existing `leaf` with `flags`; -1 unless it is what `need` asks.
    int openFile(const std::string& leaf, int flags, Need need);
    // True when the process may create files for the user: it is that user, or root.
    bool mayCreate(const std::string& leaf);
    // True when `leaf` is absent and may be created, or is there and the process's own.
    bool absentOrOwn(const std::string& leaf);
    // Gives a file the profile files' mode and, for root, the user's ownership.
    bool claim(int fd) const;
    // Creates a fresh temporary file beside `leaf`; its name goes to `temporary`.
    int createTemporary(const std::string& leaf, std::string* temporary);
    // Removes the temporary files of `leaf` that processes since gone left behind.
    void removeStaleTemporaries(const std::string& leaf);
    // Records why `leaf` was refused; false.
    bool refuse(const std::string& leaf, const std::string& reason);

    std::string path_;
    int fd_ = -1;
    std::string user_;
    bool userKnown_ = false;
    uid_t userId_ = static_cast<uid_t>(-1);
    gid_t groupId_ = static_cast<gid_t>(-1);
};

}  // namespace t48::store
