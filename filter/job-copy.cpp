#include "job-copy.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <vector>

#include "dsc-line-reader.hpp"
#include "whole-file.hpp"

namespace t48::filter {
namespace {

constexpr std::string_view kBeginSetup = "%%BeginSetup";
constexpr std::string_view kEndSetup = "%%EndSetup";
constexpr std::string_view kPage = "%%Page:";
constexpr size_t kBlockSize = 128 * 1024;

// Moves the rest of `in` to `out` inside the kernel, as long as one of them is a pipe (as
// CUPS connects its filters): true at the end of `in`, false on an error; nothing when
// they cannot be spliced (EINVAL), having moved what they could.
std::optional<bool> spliceRest(int in, int out) {
    for (;;) {
        const ssize_t n = ::splice(in, nullptr, out, nullptr, kBlockSize, SPLICE_F_MOVE);
        if (n > 0 || (n < 0 && errno == EINTR)) {
            continue;
        }
        if (n < 0 && errno == EINVAL) {
            return std::nullopt;
        }
        return n == 0;
    }
}

bool copyBlocks(int in, int out) {
    if (const std::optional<bool> spliced = spliceRest(in, out)) {
        return *spliced;
    }
    std::vector<char> block(kBlockSize);
    for (;;) {
        const ssize_t n = ::read(in, block.data(), block.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        if (!file::writeAll(out, std::string_view(block.data(), static_cast<size_t>(n)))) {
            return false;
        }
    }
}

}  // namespace

CopiedJob copyJob(int in, int out, SetupRewriter& setup) {
    CopiedJob result;
    DscLineReader reader(in);
    std::string pending;  // lines passed on, written in blocks
    std::string line;
    bool inSetup = false;
    while (reader.next(line)) {
        const bool page = line.starts_with(kPage);
        if (line.starts_with(kEndSetup) || (page && inSetup)) {
            setup.finish(pending);
            result.setupFound = true;
        }
        if (inSetup && !result.setupFound) {
            setup.line(line, pending);
        } else {
            pending += line;
        }
        inSetup = inSetup || line.starts_with(kBeginSetup);
        if (result.setupFound || page) {
            break;
        }
        if (pending.size() >= kBlockSize) {
            if (!file::writeAll(out, pending)) {
                return result;
            }
            pending.clear();
        }
    }
    result.copied = !reader.failed() && file::writeAll(out, pending) &&
                    file::writeAll(out, reader.takeBuffered()) && copyBlocks(in, out);
    return result;
}

}  // namespace t48::filter
