// The filter's one use of libcups' PPD API, which libcups marks deprecated; the warning
// is silenced here only.

#include "ppd-first-choices.hpp"

#include <cups/ppd.h>

#include "profile-options.hpp"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace t48::filter {

std::optional<FirstChoices> ppdFirstChoices(const char* path) {
    ppd_file_t* ppd = path != nullptr ? ppdOpenFile(path) : nullptr;
    if (ppd == nullptr) {
        return std::nullopt;
    }
    FirstChoices choices;
    for (const pde::ProfileOption& profileOption : pde::profileOptions()) {
        const ppd_option_t* option = ppdFindOption(ppd, profileOption.keyword);
        if (option != nullptr && option->num_choices > 0) {
            choices.emplace(profileOption.keyword, option->choices[0].choice);
        }
    }
    ppdClose(ppd);
    return choices;
}

}  // namespace t48::filter
