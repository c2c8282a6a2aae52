// The panel's one adapter over libcups' PPD API, which libcups marks deprecated: every
// PPD call of the panel is in this file (the opening of a PPD file, which the panel
// leaves to its host, is common/ppd's; the filter reads its PPD in
// filter/ppd-first-choices.cpp), the only place of the panel where that warning is silenced.

#include <cups/ppd.h>

#include <new>

#include "control-access.hpp"
#include "pde-common.hpp"
#include "text-encoding.hpp"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace t48::pde {
namespace {

std::string asText(const char* bytes) {
    return bytes != nullptr ? bytes : "";
}

// The choices of `option` that the PPD marks as profiles stored on the printer.
std::vector<PrinterProfileChoice> printerProfileChoices(ppd_file_t* ppd,
                                                        const ppd_option_t* option) {
    std::vector<PrinterProfileChoice> marked;
    for (const ppd_attr_t* attr = ppdFindAttr(ppd, kPrinterProfileMark, option->keyword);
         attr != nullptr; attr = ppdFindNextAttr(ppd, kPrinterProfileMark, option->keyword)) {
        std::optional<PrinterProfileChoice> choice =
            attr->value != nullptr ? parsePrinterProfileMark(attr->value) : std::nullopt;
        if (choice) {
            marked.push_back(std::move(*choice));
        }
    }
    return marked;
}

bool isMarked(const std::vector<PrinterProfileChoice>& marked, const ppd_choice_t& choice) {
    for (const PrinterProfileChoice& profile : marked) {
        if (profile.choiceKeyword == choice.choice) {
            return true;
        }
    }
    return false;
}

}  // namespace

int32_t PDECommon::commonGetPPDArrayForUIOption(ppd_file_s* ppd, const char* key,
                                                ChoiceRows*& array) {
    if (ppd == nullptr || key == nullptr || ppdFindOption(ppd, key) == nullptr) {
        return kPDEPPDOptionNotFound;
    }
    array = new (std::nothrow) ChoiceRows();
    if (array == nullptr) {
        return kPDEArrayCreateErr;
    }
    int16_t count = 0;
    commonGetUIListFromPPD(ppd, key, array, count);
    return kPDENoErr;
}

int32_t PDECommon::commonGetUIListFromPPD(ppd_file_s* ppd, const char* key, ChoiceRows* array,
                                          int16_t& count) {
    const auto encoding = static_cast<CFStringEncoding>(commonGetCFStringEncodingFromPPD(ppd));
    if (array == nullptr || ppd == nullptr || key == nullptr) {
        return kPDENoErr;
    }
    const ppd_option_t* option = ppdFindOption(ppd, key);
    if (option == nullptr || option->num_choices <= 0 || option->choices == nullptr) {
        return kPDENoErr;
    }
    const std::string optionKeyword = stringFromCFEncoding(option->keyword, encoding);
    const std::string defaultChoice = stringFromCFEncoding(option->defchoice, encoding);
    const std::vector<PrinterProfileChoice> marked = printerProfileChoices(ppd, option);
    for (int i = 0; i < option->num_choices; ++i) {
        const ppd_choice_t& choice = option->choices[i];
        if (isMarked(marked, choice)) {
            continue;
        }
        array->push_back({optionKeyword, defaultChoice,
                          stringFromCFEncoding(choice.choice, encoding),
                          stringFromCFEncoding(choice.text, encoding)});
        ++count;
    }
    for (const PrinterProfileChoice& profile : marked) {
        array->printerProfiles.push_back(profile);
    }
    return kPDENoErr;
}

void PDECommon::commonReBuildMenuFromPPD(ppd_file_s* ppd, const PDEControlItem* item) {
    ui::PopUpButton* popup = detail::popupOf(item);
    if (ppd == nullptr || popup == nullptr) {
        return;
    }
    const ppd_option_t* option = ppdFindOption(ppd, item->ppdKey);
    if (option == nullptr) {
        return;
    }
    if (!popup->hasMenu()) {
        return;
    }
    const auto encoding = static_cast<StringEncoding>(commonGetEncodingFromPPD(ppd));
    const std::vector<PrinterProfileChoice> marked = printerProfileChoices(ppd, option);
    popup->removeAllItems();
    for (int i = 0, index = 0; i < option->num_choices; ++i) {
        const ppd_choice_t& choice = option->choices[i];
        if (isMarked(marked, choice)) {
            continue;
        }
        popup->addItemWithTitle(stringFromEncoding(asText(choice.text), encoding));
        popup->setKeywordAtIndex(index++,
                                 stringFromEncoding(asText(choice.choice), kStringEncodingASCII));
    }
}

namespace {

// libcups transcodes every text of the PPD record to UTF-8 while it reads the file and
// then reports "UTF-8" in lang_encoding; for a PPD without LanguageEncoding it still
// transcodes (from ISO Latin-1) but leaves the field null. The record's text is
// therefore UTF-8 whenever there is a record.
const char* recordEncoding(const ppd_file_s* ppd) {
    if (ppd == nullptr) {
        return nullptr;
    }
    return ppd->lang_encoding != nullptr ? ppd->lang_encoding : "UTF-8";
}

}  // namespace

uint64_t PDECommon::commonGetEncodingFromPPD(const ppd_file_s* ppd) {
    return stringEncodingForLanguageEncoding(recordEncoding(ppd));
}

uint32_t PDECommon::commonGetCFStringEncodingFromPPD(const ppd_file_s* ppd) {
    return cfStringEncodingForLanguageEncoding(recordEncoding(ppd));
}

}  // namespace t48::pde
