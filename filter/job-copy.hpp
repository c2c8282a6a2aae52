#pragma once
// Passing a PostScript job on with its document setup rewritten.

#include "setup-rewriter.hpp"

namespace t48::filter {

struct CopiedJob {
    bool copied = false;      // false when reading or writing failed
    bool setupFound = false;  // the document setup ended before the first page
};

// Copies the job on `in` to `out`, the lines of its document setup (after "%%BeginSetup")
// through `setup`, whose end goes before the line that ends the setup: "%%EndSetup", or
// the first page ("%%Page:") of a setup that lacks it. Every other byte passes as it
// came. The prologue and setup are read line by line; the rest is copied in large
// blocks, by the kernel when it can splice them.
CopiedJob copyJob(int in, int out, SetupRewriter& setup);

}  // namespace t48::filter
