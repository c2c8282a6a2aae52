#include "colour-choice.hpp"

#include <strings.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "color-model.hpp"
#include "job-ppd.hpp"
#include "job-presets.hpp"

namespace t48::filter {
namespace {

// The print-color-mode keywords that ask for no colour.
constexpr std::array<std::string_view, 4> kMonochromeModes = {"monochrome", "process-monochrome",
                                                              "bi-level", "process-bi-level"};

bool isT48Option(const std::string& name) {
    return name.rfind("ZT", 0) == 0 || name == ppd::kColorModelOption;
}

}  // namespace

ColourRequest colourRequest(const std::vector<JobOption>& options, const JobPPD& ppd) {
    const std::vector<JobOption> preset = presetOptionsFor(options, ppd.presets());
    const auto fromPreset = [&](const JobOption& option) {
        return std::any_of(preset.begin(), preset.end(), [&](const JobOption& added) {
            return added.first == option.first &&
                   strcasecmp(added.second.c_str(), option.second.c_str()) == 0;
        });
    };
    ColourRequest request;
    // The choice the job asks for of `name` (its last, as cupsd passes it on), when the
    // PPD offers it. Not the marked one: libcups marks a preset's choices over the job's.
    const auto asked = [&](const char* name) -> std::optional<std::string> {
        const auto last = std::find_if(options.rbegin(), options.rend(),
                                       [&](const auto& option) { return option.first == name; });
        if (last == options.rend() || fromPreset(*last)) {
            return std::nullopt;
        }
        return ppd.choiceNamed(name, last->second);
    };
    if (const auto choice = asked(ppd::kColorAsGrayOption)) {
        request.colorAsGray = ppd::isColorAsGrayOn(*choice);
    }
    if (const auto choice = asked(ppd::kColorModelOption)) {
        request.colorModel = ppd::isGrayColorModel(*choice);
    }
    for (const auto& [name, value] : options) {
        if (name == "print-color-mode") {
            request.printColorMode = std::find(kMonochromeModes.begin(), kMonochromeModes.end(),
                                               value) != kMonochromeModes.end();
        }
        request.namesT48Options =
            request.namesT48Options || (isT48Option(name) && !fromPreset({name, value}));
    }
    const auto asGrayDefault = ppd.defaultChoice(ppd::kColorAsGrayOption);
    request.colorAsGrayDefault = asGrayDefault && ppd::isColorAsGrayOn(*asGrayDefault);
    if (const auto modelDefault = ppd.defaultChoice(ppd::kColorModelOption)) {
        request.colorModelDefault = ppd::isGrayColorModel(*modelDefault);
    }
    return request;
}

bool printsGrayscale(const ColourRequest& request) {
    if (request.colorAsGray && *request.colorAsGray != request.colorAsGrayDefault) {
        return *request.colorAsGray;
    }
    if (request.colorModel && request.colorModelDefault &&
        *request.colorModel != *request.colorModelDefault) {
        return *request.colorModel;
    }
    if (!request.namesT48Options && request.printColorMode) {
        return *request.printColorMode;
    }
    return request.colorAsGrayDefault;
}

}  // namespace t48::filter
