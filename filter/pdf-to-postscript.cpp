#include "pdf-to-postscript.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace t48::filter {
namespace {

constexpr std::string_view kPdfMagic = "%PDF-";

std::string pdftopsPath() {
    const char* serverBin = std::getenv("CUPS_SERVERBIN");
    return std::string(serverBin != nullptr && *serverBin != '\0' ? serverBin : "/usr/lib/cups") +
           "/filter/pdftops";
}

}  // namespace

bool isPdfJob(int in) {
    char start[5] = {};
    struct stat info {};
    if (fstat(in, &info) == 0 && S_ISREG(info.st_mode)) {
        return pread(in, start, sizeof start, 0) == sizeof start &&
               kPdfMagic == std::string_view(start, sizeof start);
    }
    // tee(2) copies what the pipe holds into another pipe and leaves it there; it waits for
    // the first bytes of the job. A PDF starts with its magic in one write.
    int scratch[2];
    if (pipe2(scratch, O_CLOEXEC) != 0) {
        return false;
    }
    const bool peeked = tee(in, scratch[1], sizeof start, 0) > 0;
    const ssize_t n = peeked ? read(scratch[0], start, sizeof start) : 0;
    close(scratch[0]);
    close(scratch[1]);
    return n == static_cast<ssize_t>(sizeof start) &&
           kPdfMagic == std::string_view(start, sizeof start);
}

std::string withPrintColorMode(const char* options, bool grayscale) {
    // cupsParseOptions keeps the last value of an option given twice.
    return std::string(options) + " print-color-mode=" + (grayscale ? "monochrome" : "color");
}

std::optional<PdfToPostScript> PdfToPostScript::start(char* const* argv, const std::string& options,
                                                      int in, std::string& error) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = "no pipe for pdftops";
        return std::nullopt;
    }
    const std::string program = pdftopsPath();
    const std::vector<const char*> args = {argv[0], argv[1],         argv[2], argv[3],
                                           argv[4], options.c_str(), nullptr};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in, STDIN_FILENO);
        dup2(pipeEnds[1], STDOUT_FILENO);
        execv(program.c_str(), const_cast<char* const*>(args.data()));
        _exit(127);
    }
    close(pipeEnds[1]);
    if (pid < 0) {
        close(pipeEnds[0]);
        error = "cannot start " + program;
        return std::nullopt;
    }
    return PdfToPostScript(pid, pipeEnds[0]);
}

bool PdfToPostScript::finish() {
    close(output_);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace t48::filter
