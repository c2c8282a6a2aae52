#pragma once
// A PostScript job read line by line, as its comments are read: a line ends with LF,
// CR LF or CR alone, may be of any length and may hold any byte, NUL included. The bytes
// read ahead of the lines handed out can be taken over, so that a caller may copy the
// rest of the job in blocks.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace t48::filter {

class DscLineReader {
public:
    explicit DscLineReader(int fd);

    // The next line with its line end (a last line may have none) into `line`; false at
    // the end of the job or when reading fails (failed() tells which).
    bool next(std::string& line);
    bool failed() const { return failed_; }
    // The bytes read ahead of the lines handed out so far; they count as handed out now.
    // Valid until the next call.
    std::string_view takeBuffered();

private:
    // Reads the next block into the emptied buffer; false at the end or on failure.
    bool fill();

    int fd_;
    std::vector<char> buffer_;
    size_t start_ = 0;
    size_t end_ = 0;
    bool failed_ = false;
};

}  // namespace t48::filter
