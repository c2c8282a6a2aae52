// t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]
// A CUPS filter after pstops: copies the job's PostScript (FILE, else standard input) to
// standard output and puts the commands that select the profiles of the job's added-
// profile options at the end of the document setup. Options it cannot honour leave the
// job unchanged, with one warning line on standard error; they never fail the job. Exit
// status 1 only when the job cannot be read or written.

#include <cups/cups.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "profile-commands.hpp"

namespace {

constexpr const char* kEndSetup = "%%EndSetup";

void warn(const std::string& message) {
    std::fprintf(stderr, "WARNING: t48-colorfilter: %s\n", message.c_str());
}

std::vector<t48::filter::JobOption> jobOptions(const char* text) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(text, 0, &parsed);
    std::vector<t48::filter::JobOption> options;
    for (int i = 0; i < count; ++i) {
        options.emplace_back(parsed[i].name, parsed[i].value);
    }
    cupsFreeOptions(count, parsed);
    return options;
}

// Copies `in` to `out`, with `setup` written before the first line that begins with
// "%%EndSetup". False when writing fails; `inserted` tells whether that line came.
bool copyJob(FILE* in, FILE* out, const std::string& setup, bool& inserted) {
    char buffer[65536];
    bool atLineStart = true;
    inserted = setup.empty();
    while (std::fgets(buffer, sizeof buffer, in) != nullptr) {
        const size_t length = std::strlen(buffer);
        if (!inserted && atLineStart &&
            std::strncmp(buffer, kEndSetup, std::strlen(kEndSetup)) == 0) {
            inserted = std::fwrite(setup.data(), 1, setup.size(), out) == setup.size();
        }
        if (std::fwrite(buffer, 1, length, out) != length) {
            return false;
        }
        atLineStart = length > 0 && buffer[length - 1] == '\n';
    }
    return !std::ferror(in) && std::fflush(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "usage: t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]\n");
        return 1;
    }
    FILE* in = argc == 7 ? std::fopen(argv[6], "rb") : stdin;
    if (in == nullptr) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot open the job's file\n");
        return 1;
    }
    t48::filter::ProfileCommands commands = t48::filter::profileCommands(jobOptions(argv[5]));
    if (!commands.problem.empty()) {
        warn(commands.problem + "; the job is printed without profile commands");
    }
    bool inserted = false;
    if (!copyJob(in, stdout, commands.setup, inserted)) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot pass the job on\n");
        return 1;
    }
    if (!inserted) {
        warn("the job has no document setup; it is printed without profile commands");
    }
    return 0;
}
