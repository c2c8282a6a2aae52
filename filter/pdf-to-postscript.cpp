#include "pdf-to-postscript.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace t48::filter {
namespace {

constexpr char kPrintColorMode[] = "print-color-mode";
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

std::string encodeJobOptions(const std::vector<JobOption>& options) {
    std::string text;
    for (const auto& [name, value] : options) {
        if (!text.empty()) {
            text += ' ';
        }
        text += name + "=\"";
        for (const char c : value) {
            if (c == '"' || c == '\\') {
                text += '\\';
            }
            text += c;
        }
        text += '"';
    }
    return text;
}

std::vector<JobOption> withPrintColorMode(std::vector<JobOption> options, bool grayscale) {
    std::erase_if(options, [](const JobOption& option) { return option.first == kPrintColorMode; });
    options.emplace_back(kPrintColorMode, grayscale ? "monochrome" : "color");
    return options;
}

std::optional<PdfToPostScript> PdfToPostScript::start(char* const* argv,
                                                      const std::vector<JobOption>& options, int in,
                                                      std::string& error) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        error = "no pipe for pdftops";
        return std::nullopt;
    }
    const std::string program = pdftopsPath();
    const std::string encoded = encodeJobOptions(options);
    const std::vector<const char*> args = {argv[0], argv[1],         argv[2], argv[3],
                                           argv[4], encoded.c_str(), nullptr};
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
