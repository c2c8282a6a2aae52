#include "job-copy.hpp"

#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "dsc-line-reader.hpp"
#include "whole-file.hpp"

namespace t48::filter {
namespace {

constexpr std::string_view kEndSetup = "%%EndSetup";
constexpr std::string_view kPage = "%%Page:";
constexpr size_t kBlockSize = 128 * 1024;

bool copyBlocks(int in, int out) {
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

CopiedJob copyJob(int in, int out, std::string_view setup) {
    CopiedJob result;
    DscLineReader reader(in);
    std::string pending;  // lines passed on, written in blocks
    std::string line;
    while (reader.next(line)) {
        if (line.starts_with(kEndSetup)) {
            pending += setup;
            result.setupFound = true;
        }
        pending += line;
        if (result.setupFound || line.starts_with(kPage)) {
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
