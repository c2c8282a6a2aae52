// The colour filter's rewriting of a job's document setup over arbitrary lines. Beyond
// what the sanitizers catch: the printer meets each option the panel printed once, in a
// feature line with the printed choice, whatever blocks, half blocks and line ends the
// setup holds.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dsc-line-reader.hpp"
#include "setup-rewriter.hpp"
#include "whole-file.hpp"

namespace {

// Feature lines of `option` ("%%BeginFeature: *KEY" and a blank) in `text`, and whether
// each carries `choice`.
int featureLines(std::string_view text, std::string_view option, std::string_view choice,
                 bool& allCarryChoice) {
    const std::string begin = "%%BeginFeature: *" + std::string(option);
    int count = 0;
    allCarryChoice = true;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find_first_of("\r\n", at);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(begin) || line.size() == begin.size() ||
            (line[begin.size()] != ' ' && line[begin.size()] != '\t')) {
            continue;
        }
        ++count;
        line.remove_prefix(begin.size());
        allCarryChoice = allCarryChoice && line.find_first_not_of(" \t") != std::string::npos &&
                         line.substr(line.find_first_not_of(" \t")).starts_with(choice);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view setup(reinterpret_cast<const char*>(data), size);
    // ZTA changes, ZTB keeps its choice.
    t48::filter::SetupRewriter rewriter({{"ZTA", "Off", "On", "<</ZTA /On>>setpagedevice"},
                                         {"ZTB", "Auto", "Auto", "<</ZTB /Auto>>setpagedevice"}},
                                        "% added\n");
    // The lines as the filter reads them: ended by LF, CR LF or CR alone.
    const int fd = memfd_create("setup", MFD_CLOEXEC);
    if (fd < 0 || !t48::file::writeAll(fd, setup) || lseek(fd, 0, SEEK_SET) != 0) {
        std::abort();
    }
    t48::filter::DscLineReader reader(fd);
    std::string out;
    for (std::string line; reader.next(line);) {
        rewriter.line(line, out);
    }
    close(fd);
    rewriter.finish(out);
    bool printedChoice = true;
    if (featureLines(out, "ZTA", "On", printedChoice) != 1 || !printedChoice ||
        featureLines(out, "ZTB", "", printedChoice) > 1 ||
        out.find("% added\n") == std::string::npos) {
        std::abort();
    }
    return 0;
}
