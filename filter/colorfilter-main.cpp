// t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]
// A CUPS filter after pstops or pdftopdf: copies the job's PostScript (FILE, else standard
// input) to standard output with the choices the Color Options panel would print for the
// job's options in its document setup (one "INFO:" line for each option it changes), and
// the commands that select the job's added profiles at the end of the setup. A PDF job is
// made PostScript by pdftops first, in the colour the job prints in. A job it cannot
// resolve prints with its options as asked, with one warning line on standard error; its
// options never fail the job. Exit status 1 only when the job cannot be read, converted
// or written.

#include <cups/cups.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "color-model.hpp"
#include "colour-choice.hpp"
#include "job-copy.hpp"
#include "job-ppd.hpp"
#include "panel-choices.hpp"
#include "pdf-to-postscript.hpp"
#include "profile-commands.hpp"

namespace {

using namespace t48::filter;

void warn(const std::string& message) {
    std::fprintf(stderr, "WARNING: t48-colorfilter: %s\n", message.c_str());
}

std::vector<JobOption> jobOptions(const char* text) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(text, 0, &parsed);
    std::vector<JobOption> options;
    for (int i = 0; i < count; ++i) {
        options.emplace_back(parsed[i].name, parsed[i].value);
    }
    cupsFreeOptions(count, parsed);
    return options;
}

// `options` with `choices` in place of the values they name.
std::vector<JobOption> withChoices(std::vector<JobOption> options, const Choices& choices) {
    for (auto& [name, value] : options) {
        if (const auto choice = choices.find(name); choice != choices.end()) {
            value = choice->second;
        }
    }
    for (const auto& [name, value] : choices) {
        if (std::none_of(options.begin(), options.end(),
                         [&](const JobOption& option) { return option.first == name; })) {
            options.emplace_back(name, value);
        }
    }
    return options;
}

// The choice the panel prints of each option it handles, for the job's `options`, whose
// choices as pstops marked them are `asked`, with Color as Grayscale on when `grayscale`,
// and ColorModel printed alike; nothing, with one warning, when the panel cannot be had.
// The options of `printerProfiles` are left out: their choices, profiles stored on the
// printer, print as they are.
std::optional<Choices> panelPrints(const std::vector<JobOption>& options,
                                   const std::vector<JobOption>& asked, bool grayscale,
                                   const FirstChoices& firstChoices,
                                   const std::set<std::string>& printerProfiles,
                                   const std::string& ppdPath) {
    // The panel keeps a profile option whose added profile is selected at the option's
    // first choice; the "...Custom" entries stay with the job. The panel is shown that
    // choice, so a preset that moves it drops the profile, as in the panel. It is shown
    // an option at a printer profile the same way, so that its rules see what they see of
    // an added profile.
    Choices shown(asked.begin(), asked.end());
    for (const auto& [option, firstChoice] : firstChoices) {
        if (selectsAddedProfile(options, option, firstChoices) ||
            printerProfiles.count(option) != 0) {
            shown[option] = firstChoice;
        }
    }
    if (const auto asGray = shown.find(t48::ppd::kColorAsGrayOption); asGray != shown.end()) {
        asGray->second = t48::ppd::colorAsGrayChoice(grayscale);
    }
    std::string error;
    std::optional<Choices> printed =
        panelChoices(std::vector<JobOption>(shown.begin(), shown.end()), ppdPath, error);
    if (!printed) {
        warn(error + "; the job is printed with its options as asked");
        return printed;
    }
    // ColorModel tells what the printer is given of Color as Grayscale.
    const auto asGray = printed->find(t48::ppd::kColorAsGrayOption);
    if (asGray != printed->end() && shown.count(t48::ppd::kColorModelOption) != 0) {
        (*printed)[t48::ppd::kColorModelOption] =
            t48::ppd::colorModelChoice(t48::ppd::isColorAsGrayOn(asGray->second));
    }
    for (const std::string& option : printerProfiles) {
        printed->erase(option);
    }
    return printed;
}

// What the job's setup gets: the choices the panel prints, with Color as Grayscale on
// when `grayscale`, and the commands of the added profiles of the options printed.
SetupRewriter setupFor(const std::vector<JobOption>& options, const JobPPD& ppd,
                       const std::string& ppdPath, bool grayscale) {
    const std::vector<JobOption> asked = ppd.markedChoices();
    const FirstChoices firstChoices = ppd.profileFirstChoices();
    // A choice the queue's PPD offers for a profile stored on the printer (t48-queue-
    // profiles) is one the panel shows only as the user's stored profile: it prints as it
    // is, whatever the panel's preset, as another program's dialog showed it.
    std::set<std::string> printerProfiles;
    for (const auto& [option, choice] : asked) {
        if (ppd.isPrinterProfileChoice(option, choice)) {
            printerProfiles.insert(option);
        }
    }
    const std::optional<Choices> printed =
        panelPrints(options, asked, grayscale, firstChoices, printerProfiles, ppdPath);
    std::vector<PrintedChoice> choices;
    for (const auto& [option, choice] : asked) {
        const auto found = printed ? printed->find(option) : Choices::const_iterator();
        if (!printed || found == printed->end()) {
            continue;
        }
        if (std::optional<std::string> code = ppd.choiceCode(option, found->second)) {
            choices.push_back({option, choice, found->second, std::move(*code)});
        }
    }
    const ProfileCommands commands =
        profileCommands(printed ? withChoices(options, *printed) : options, firstChoices);
    if (!commands.problem.empty()) {
        warn(commands.problem + "; the job is printed without profile commands");
    }
    return SetupRewriter(std::move(choices), commands.setup);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::fprintf(stderr, "usage: t48-colorfilter JOB USER TITLE COPIES OPTIONS [FILE]\n");
        return 1;
    }
    const std::vector<JobOption> options = jobOptions(argv[5]);
    const char* ppdPath = std::getenv("PPD");
    const std::unique_ptr<JobPPD> ppd = JobPPD::open(ppdPath, options);
    if (!ppd) {
        warn("the queue's PPD cannot be read; the job is printed as it came");
    }
    const bool grayscale = ppd && printsGrayscale(colourRequest(options, *ppd));
    int in = argc == 7 ? open(argv[6], O_RDONLY | O_CLOEXEC) : STDIN_FILENO;
    if (in < 0) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot open the job's file\n");
        return 1;
    }
    std::optional<PdfToPostScript> pdf;
    if (isPdfJob(in)) {
        std::string error;
        pdf = PdfToPostScript::start(argv, ppd ? withPrintColorMode(argv[5], grayscale) : argv[5],
                                     in, error);
        if (!pdf) {
            std::fprintf(stderr, "ERROR: t48-colorfilter: %s\n", error.c_str());
            return 1;
        }
        in = pdf->output();
    }
    SetupRewriter setup = ppd ? setupFor(options, *ppd, ppdPath, grayscale) : SetupRewriter({}, {});
    const CopiedJob copied = copyJob(in, STDOUT_FILENO, setup);
    if (pdf && !pdf->finish()) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: pdftops could not convert the job\n");
        return 1;
    }
    if (!copied.copied) {
        std::fprintf(stderr, "ERROR: t48-colorfilter: cannot pass the job on\n");
        return 1;
    }
    if (!copied.setupFound && setup.addsAtTheEnd()) {
        warn(
            "the job has no document setup; it is printed without the options and profile "
            "commands it lacks");
    }
    for (const ChangedChoice& change : setup.changes()) {
        std::fprintf(stderr, "INFO: t48-colorfilter: %s asked %s, printed %s\n",
                     change.option.c_str(), change.asked.c_str(), change.printed.c_str());
    }
    return 0;
}
