#pragma once
// Passing a PostScript job on with commands added to its document setup.

#include <string_view>

namespace t48::filter {

struct CopiedJob {
    bool copied = false;      // false when reading or writing failed
    bool setupFound = false;  // a "%%EndSetup" line came before the first page
};

// Copies the job on `in` to `out` byte for byte, with `setup` written before the line
// that ends the document setup ("%%EndSetup"). The prologue and setup are read line by
// line up to that line, or up to the first page ("%%Page:") when the job has no setup
// to end; the rest is copied in large blocks, by the kernel when it can splice them.
CopiedJob copyJob(int in, int out, std::string_view setup);

}  // namespace t48::filter
