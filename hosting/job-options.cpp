#include "job-options.hpp"

#include <algorithm>

#include "added-profile-text.hpp"
#include "color-model.hpp"
#include "ppd-file.hpp"

namespace t48::hosting {
namespace {

bool endsWith(const std::string& text, std::string_view suffix) {
    return text.size() > suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

JobOptions settingsJobOptions(const cf::PrintSettings& settings) {
    JobOptions options;
    for (const auto& [key, value] : *settings.dictionary()->asDictionary()) {
        if (value && value->is(cf::ValueType::String)) {
            options.emplace_back(key, *value->asString());
        }
    }
    return options;
}

bool isQueueJobOption(ppd_file_s* ppd, const std::string& key) {
    if (ppd::ppdHasOption(ppd, key)) {
        return true;
    }
    for (std::string_view suffix : {pde::kCustomSuffix, pde::kCustomFilenameSuffix}) {
        if (endsWith(key, suffix) &&
            ppd::ppdHasOption(ppd, key.substr(0, key.size() - suffix.size()))) {
            return true;
        }
    }
    return false;
}

JobOptions queueJobOptions(ppd_file_s* ppd, const JobOptions& options) {
    JobOptions taken;
    for (const auto& option : options) {
        if (isQueueJobOption(ppd, option.first)) {
            taken.push_back(option);
        }
    }
    return taken;
}

JobOptions withColorModelAlike(ppd_file_s* ppd, JobOptions options) {
    const auto named = [&](const char* key) {
        return std::find_if(options.begin(), options.end(),
                            [&](const auto& option) { return option.first == key; });
    };
    const auto asGray = named(ppd::kColorAsGrayOption);
    if (asGray == options.end() || !ppd::ppdHasOption(ppd, ppd::kColorModelOption)) {
        return options;
    }
    const std::string model = ppd::colorModelChoice(ppd::isColorAsGrayOn(asGray->second));
    if (const auto colorModel = named(ppd::kColorModelOption); colorModel != options.end()) {
        colorModel->second = model;
    } else {
        options.emplace_back(ppd::kColorModelOption, model);
    }
    return options;
}

}  // namespace t48::hosting
