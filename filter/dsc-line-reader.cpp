#include "dsc-line-reader.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace t48::filter {
namespace {

constexpr size_t kBlockSize = 64 * 1024;

}  // namespace

DscLineReader::DscLineReader(int fd) : fd_(fd), buffer_(kBlockSize) {}

bool DscLineReader::fill() {
    start_ = end_ = 0;
    ssize_t n = 0;
    do {
        n = ::read(fd_, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    failed_ = n < 0;
    end_ = n > 0 ? static_cast<size_t>(n) : 0;
    return n > 0;
}

bool DscLineReader::next(std::string& line) {
    line.clear();
    for (;;) {
        if (start_ == end_ && !fill()) {
            return !line.empty() && !failed_;
        }
        const char* begin = buffer_.data() + start_;
        const char* stop = buffer_.data() + end_;
        const char* lineEnd =
            std::find_if(begin, stop, [](char c) { return c == '\n' || c == '\r'; });
        if (lineEnd == stop) {
            line.append(begin, stop);
            start_ = end_;
            continue;
        }
        line.append(begin, lineEnd + 1);
        start_ = static_cast<size_t>(lineEnd + 1 - buffer_.data());
        // CR LF is one line end, also when the LF comes in the next block.
        if (*lineEnd == '\r' && (start_ < end_ || fill()) && buffer_[start_] == '\n') {
            line += '\n';
            ++start_;
        }
        return !failed_;
    }
}

std::string_view DscLineReader::takeBuffered() {
    const std::string_view rest(buffer_.data() + start_, end_ - start_);
    start_ = end_;
    return rest;
}

}  // namespace t48::filter
