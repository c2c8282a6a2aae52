// The colour filter's reading of a job's options (as CUPS passes them in argv[5]) over
// arbitrary bytes. Beyond what the sanitizers catch: every command it makes is a whole
// feature on lines of their own whose PostScript string holds only printable ASCII, so
// no option value can end the string or add code of its own.

#include <cups/cups.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "profile-commands.hpp"
#include "profile-options.hpp"

namespace {

// A "(...)" literal of printable ASCII whose parentheses and backslashes are escaped.
bool safeString(const std::string& line) {
    const size_t open = line.find('(');
    const size_t close = line.rfind(")>>setpagedevice");
    if (open == std::string::npos || close == std::string::npos || close < open ||
        close + 16 != line.size()) {
        return false;
    }
    for (size_t i = open + 1; i < close; ++i) {
        const char c = line[i];
        if (c < 0x20 || c >= 0x7F || c == '(' || c == ')') {
            return false;
        }
        if (c == '\\') {
            ++i;  // the escaped character, or the first of three octal digits
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(text.c_str(), 0, &parsed);
    std::vector<t48::filter::JobOption> options;
    for (int i = 0; i < count; ++i) {
        options.emplace_back(parsed[i].name, parsed[i].value);
    }
    cupsFreeOptions(count, parsed);

    // The sample PPD's first choices: "None" for the sources, "Auto" for the destinations.
    static const t48::filter::FirstChoices firstChoices = [] {
        t48::filter::FirstChoices choices;
        for (const t48::pde::ProfileOption& option : t48::pde::profileOptions()) {
            choices.emplace(option.keyword,
                            option.profileClass == t48::pde::kProfileClassDST ? "Auto" : "None");
        }
        return choices;
    }();
    const t48::filter::ProfileCommands commands =
        t48::filter::profileCommands(options, firstChoices);
    if (!commands.problem.empty() && !commands.setup.empty()) {
        std::abort();  // a job with a problem passes unchanged
    }
    std::istringstream lines(commands.setup);
    int line = 0;
    for (std::string current; std::getline(lines, current); ++line) {
        const bool ok = line % 5 == 0   ? current == "[{"
                        : line % 5 == 1 ? current.rfind("%%BeginFeature: *", 0) == 0
                        : line % 5 == 2 ? current.rfind("<</", 0) == 0 && safeString(current)
                        : line % 5 == 3 ? current == "%%EndFeature"
                                        : current == "} stopped cleartomark";
        if (!ok) {
            std::abort();
        }
    }
    if (line % 5 != 0) {
        std::abort();
    }
    return 0;
}
