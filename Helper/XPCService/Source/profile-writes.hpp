#pragma once
// The writes that requests make to profile files named by a file URL: the whole-file
// write, the chunks of a forwarded save and the rename that ends it. Each answers true
// only when the work was done.

#include <string_view>

#include "requesting-user.hpp"

namespace t48::xpc {

// A save's chunk, its temporary file and any file read are capped at store::kMaxProfileFileSize.

// Writes `bytes` over the current or previous file at `fileURL`, crash-safely.
bool writeProfileBytes(const RequestingUser& requester, std::string_view fileURL,
                       std::string_view bytes);

// Adds `chunk` to the temporary file beside the current file at `fileURL`. A chunk that
// begins a document (it starts with the XML declaration) starts a fresh temporary file
// rather than appending to one left by an interrupted save.
bool appendSaveChunk(const RequestingUser& requester, std::string_view fileURL,
                     std::string_view chunk);

// Ends a save: renames the temporary file over the current file, but only when it parses
// as a profile file; otherwise the current file stays as it was.
bool installSavedFile(const RequestingUser& requester, std::string_view fileURL);

// The plain function the service exports: writes `bytes` over the file at `fileURL` (a
// profile file of the user the service runs as) and answers true on success.
bool writeDictionaryToPlistFile_XPC(std::string_view fileURL, std::string_view bytes);

}  // namespace t48::xpc
