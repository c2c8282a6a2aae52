// The filter's one use of libcups' PPD API, which libcups marks deprecated; the warning
// is silenced here only.

#include "job-ppd.hpp"

#include <cups/ppd.h>

#include "printer-profile-mark.hpp"
#include "profile-options.hpp"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace t48::filter {

std::unique_ptr<JobPPD> JobPPD::open(const char* path, const std::vector<JobOption>& options) {
    ppd_file_t* ppd = path != nullptr ? ppdOpenFile(path) : nullptr;
    if (ppd == nullptr) {
        return nullptr;
    }
    cups_option_t* marked = nullptr;
    int count = 0;
    for (const auto& [name, value] : options) {
        count = cupsAddOption(name.c_str(), value.c_str(), count, &marked);
    }
    ppdMarkDefaults(ppd);
    cupsMarkOptions(ppd, count, marked);
    cupsFreeOptions(count, marked);
    return std::unique_ptr<JobPPD>(new JobPPD(ppd));
}

JobPPD::~JobPPD() {
    ppdClose(ppd_);
}

std::vector<JobOption> JobPPD::markedChoices() const {
    std::vector<JobOption> choices;
    for (ppd_option_t* option = ppdFirstOption(ppd_); option != nullptr;
         option = ppdNextOption(ppd_)) {
        if (const ppd_choice_t* choice = ppdFindMarkedChoice(ppd_, option->keyword)) {
            choices.emplace_back(option->keyword, choice->choice);
        }
    }
    return choices;
}

std::optional<std::string> JobPPD::choiceNamed(const std::string& option,
                                               const std::string& value) const {
    const ppd_choice_t* choice = ppdFindChoice(ppdFindOption(ppd_, option.c_str()), value.c_str());
    return choice != nullptr ? std::optional<std::string>(choice->choice) : std::nullopt;
}

std::optional<std::string> JobPPD::defaultChoice(const std::string& option) const {
    const ppd_option_t* found = ppdFindOption(ppd_, option.c_str());
    return found != nullptr ? std::optional<std::string>(found->defchoice) : std::nullopt;
}

std::vector<JobPreset> JobPPD::presets() const {
    std::vector<JobPreset> presets;
    for (const ppd_attr_t* attr = ppdFindAttr(ppd_, "APPrinterPreset", nullptr); attr != nullptr;
         attr = ppdFindNextAttr(ppd_, "APPrinterPreset", nullptr)) {
        if (attr->value != nullptr) {
            presets.push_back(parsePreset(attr->value));
        }
    }
    return presets;
}

FirstChoices JobPPD::profileFirstChoices() const {
    FirstChoices choices;
    for (const pde::ProfileOption& profileOption : pde::profileOptions()) {
        const ppd_option_t* option = ppdFindOption(ppd_, profileOption.keyword);
        if (option != nullptr && option->num_choices > 0) {
            choices.emplace(profileOption.keyword, option->choices[0].choice);
        }
    }
    return choices;
}

bool JobPPD::isPrinterProfileChoice(const std::string& option, const std::string& choice) const {
    for (const ppd_attr_t* attr = ppdFindAttr(ppd_, pde::kPrinterProfileMark, option.c_str());
         attr != nullptr; attr = ppdFindNextAttr(ppd_, pde::kPrinterProfileMark, option.c_str())) {
        const std::optional<pde::PrinterProfileChoice> marked =
            attr->value != nullptr ? pde::parsePrinterProfileMark(attr->value) : std::nullopt;
        if (marked && marked->choiceKeyword == choice) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> JobPPD::choiceCode(const std::string& option,
                                              const std::string& choice) const {
    const ppd_choice_t* found = ppdFindChoice(ppdFindOption(ppd_, option.c_str()), choice.c_str());
    if (found == nullptr) {
        return std::nullopt;
    }
    return found->code != nullptr ? found->code : "";
}

}  // namespace t48::filter
