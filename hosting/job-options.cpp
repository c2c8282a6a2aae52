#include "job-options.hpp"

#include "added-profile-text.hpp"
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

}  // namespace t48::hosting
