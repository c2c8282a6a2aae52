#pragma once
// A PDF job's PostScript, as cups-filters' pdftops makes it for the queue, told the colour
// the T48 prints the job in. pdftops renders a page grey when the job's print-color-mode
// (or, without one, its ColorModel) says monochrome, and takes print-color-mode first; so
// a job that asks for black and white in ColorModel alone (a browser's) would keep its
// colours, and one whose client filled in "monochrome" from its own queue would lose
// them, whatever the T48 prints it with: here pdftops runs with print-color-mode set as
// the filter decided.

#include <sys/types.h>

#include <optional>
#include <string>

namespace t48::filter {

// True when the job on `in` is a PDF ("%PDF-"), found without taking a byte from it:
// peeked from a pipe (as CUPS connects its filters), read at the start of a file.
bool isPdfJob(int in);

class PdfToPostScript {
public:
    // Starts pdftops (CUPS_SERVERBIN's, else CUPS's own folder's) on the PDF on `in` for
    // the filter's `argv` (JOB USER TITLE COPIES), with the options text `options` (as CUPS
    // hands a filter its argv[5]); its PostScript comes on output(). Nothing, with a
    // one-line reason in `error`, when it cannot be started.
    static std::optional<PdfToPostScript> start(char* const* argv, const std::string& options,
                                                int in, std::string& error);
    int output() const { return output_; }
    // Closes the output and waits for pdftops; true when it succeeded.
    bool finish();

private:
    PdfToPostScript(pid_t pid, int output) : pid_(pid), output_(output) {}
    pid_t pid_;
    int output_;
};

// The options text `options` with print-color-mode saying `grayscale`, as pdftops is to
// render the job.
std::string withPrintColorMode(const char* options, bool grayscale);

}  // namespace t48::filter
