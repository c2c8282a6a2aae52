#pragma once
// Whole-file transfers over an open descriptor: every byte written, or everything read up
// to the end, with interrupted calls resumed.

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::file {

// Writes all of `bytes` to `fd`. False on an error or a write that writes nothing.
bool writeAll(int fd, std::string_view bytes);

// Reads `fd` to its end into `out` (replacing what it held). False on a read error or when
// more than `limit` bytes arrive (then `out` holds a part).
bool readAll(int fd, std::string* out, std::size_t limit);

}  // namespace t48::file
