#pragma once
// File operations of the service side, on explicit paths. The store's service backend
// runs them on the paths of the running walk request; the service's requests that name
// a path themselves can run them directly.
//
// Crash safety: a file is never replaced in place. New content goes to a temporary file
// in the same folder (created exclusively, links not followed), written whole, given the
// permissions of the file it replaces, flushed, renamed over the old file, and the
// folder is flushed. A crash or failure at any point leaves the old file or the new one,
// never a mixture; on failure the temporary file is removed.

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::store {

// Files larger than this are not read (a full profile file is about half a megabyte).
inline constexpr std::size_t kMaxProfileFileSize = 16u << 20;

// Removes from the folder open as `folderFd` the temporary files ".<leaf>.tmp-<pid>-..."
// that saves killed mid-write left: regular files of this user whose process is gone.
// Names are unlinked, never followed.
void removeStaleTemporaries(int folderFd, std::string_view leaf);

// Replaces `path` by `bytes` as above (first removing stale temporaries of `path`). kStoreOK;
// kStoreFailed when any step up to the rename fails (the old file stays) or when flushing the
// folder after the rename fails (the new file is in place but may not survive a power loss).
int writeFileAtomically(const std::string& path, std::string_view bytes);

// Replaces `to` by a copy of `from` the same way; a missing `from` gives an empty `to`.
// kStoreOK / kStoreFailed.
int copyFileAtomically(const std::string& from, const std::string& to);

// The write test: sets the file-creation mask to 002 (for the rest of the process),
// opens `path` for appending, creating it 0664 if absent, and removes it again if it
// did not exist. 1 when the open succeeded, else 0.
int writeTestFile(const std::string& path);

// 1 when `path` opens for reading, else 0.
int fileOpensForReading(const std::string& path);

// 1 when `path` was removed, else 0.
int removeFile(const std::string& path);

// Moves `from` over `to` in one rename and flushes the folder; when `from` does not
// exist nothing changes. kStoreOK / kStoreFailed.
int moveFileOver(const std::string& from, const std::string& to);

// Reads a whole regular file of at most kMaxProfileFileSize bytes. kStoreOK /
// kStoreFailed.
int readWholeFile(const std::string& path, std::string* out);

}  // namespace t48::store
