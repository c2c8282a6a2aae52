// t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]
// A CUPS filter after pstops: copies the job's PostScript (FILE, else standard input) to
// standard output and puts the commands that select the profiles of the job's added-
// profile options at the end of the document setup. Options it cannot honour leave the
// job unchanged, with one warning line on standard error; they never fail the job. Exit
// status 1 only when the job cannot be read or written.

#include <cups/cups.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "job-copy.hpp"
#include "ppd-first-choices.hpp"
#include "profile-commands.hpp"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "usage: t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]\n");
        return 1;
    }
    const int in = argc == 7 ? open(argv[6], O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
    if (in < 0) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot open the job's file\n");
        return 1;
    }
    const std::optional<t48::filter::FirstChoices> firstChoices =
        t48::filter::ppdFirstChoices(std::getenv("PPD"));
    const t48::filter::ProfileCommands commands =
        t48::filter::profileCommands(jobOptions(argv[5]), firstChoices ? &*firstChoices : nullptr);
    if (!commands.problem.empty()) {
        warn(commands.problem + "; the job is printed without profile commands");
    }
    const t48::filter::CopiedJob copied = t48::filter::copyJob(in, STDOUT_FILENO, commands.setup);
    if (!copied.copied) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot pass the job on\n");
        return 1;
    }
    if (!commands.setup.empty() && !copied.setupFound) {
        warn("the job has no document setup; it is printed without profile commands");
    }
    return 0;
}
