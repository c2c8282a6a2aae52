// The panel's one adapter over libcups' PPD API, which libcups marks deprecated: every PPD
// call of the panel and its hosts is in this file, where that warning is silenced (the
// filter has its own, filter/ppd-first-choices.cpp).

#include <cups/ppd.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <new>
#include <optional>
#include <string_view>

#include "control-access.hpp"
#include "pde-common.hpp"
#include "ppd-file.hpp"
#include "text-encoding.hpp"
#include "whole-file.hpp"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace t48::pde {
namespace {

std::string asText(const char* bytes) {
    return bytes != nullptr ? bytes : "";
}

constexpr std::string_view kLanguageEncodingLine = "*LanguageEncoding:";
constexpr std::size_t kMaxPPDSize = 64u << 20;

// A PPD's bytes with its *LanguageEncoding line moved up, and where that line stood.
struct DeclaredFirst {
    std::string bytes;
    int declarationLine;  // 1-based, in the file as it is
};

// libcups converts each text to UTF-8 as it reads it, from the encoding declared so far
// (ISO Latin-1 before any *LanguageEncoding): the texts above a late declaration come out
// garbled ("GrÃ¼n" for a UTF-8 "Grün"). The PPD's bytes with the first declaration moved
// right after the *PPD-Adobe line make every text follow the declared encoding (a copy
// would not do: libcups loses memory on a second declaration). Nothing when the file
// declares none, has it there already, or cannot be read (libcups then tells).
std::optional<DeclaredFirst> withLanguageEncodingFirst(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    const bool read = file::readAll(fd, &bytes, kMaxPPDSize);
    ::close(fd);
    const std::size_t firstLineEnd = bytes.find('\n');
    if (!read || firstLineEnd == std::string::npos) {
        return std::nullopt;
    }
    int line = 2;
    for (std::size_t at = firstLineEnd + 1; at < bytes.size(); ++line) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string::npos ? bytes.size() : end + 1;
        if (std::string_view(bytes).substr(at, kLanguageEncodingLine.size()) ==
            kLanguageEncodingLine) {
            if (line == 2) {
                return std::nullopt;
            }
            std::string declaration = bytes.substr(at, end - at);
            bytes.erase(at, end - at);
            if (declaration.back() != '\n') {
                declaration += '\n';
            }
            bytes.insert(firstLineEnd + 1, declaration);
            return DeclaredFirst{std::move(bytes), line};
        }
        at = end;
    }
    return std::nullopt;
}

// The line of the file as it is that line `line` of the moved bytes came from.
int originalLine(int line, const std::optional<DeclaredFirst>& moved) {
    if (!moved || line < 2) {
        return line;
    }
    if (line == 2) {
        return moved->declarationLine;
    }
    return line <= moved->declarationLine ? line - 1 : line;
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

ppd_file_s* openPPDFile(const std::string& path, std::string& error) {
    ppd_file_t* ppd = nullptr;
    const std::optional<DeclaredFirst> declaredFirst = withLanguageEncodingFirst(path);
    if (declaredFirst) {
        // libcups reads from a descriptor; the bytes go to an anonymous file.
        const int fd = memfd_create("ppd", MFD_CLOEXEC);
        if (fd >= 0 && file::writeAll(fd, declaredFirst->bytes) && ::lseek(fd, 0, SEEK_SET) == 0) {
            ppd = ppdOpenFd(fd);  // closes the descriptor
        } else if (fd >= 0) {
            ::close(fd);
        }
    } else {
        ppd = ppdOpenFile(path.c_str());
    }
    if (ppd == nullptr) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        error = "cannot open PPD " + path + ": " + ppdErrorString(status);
        if (line > 0) {
            error += " (line " + std::to_string(originalLine(line, declaredFirst)) + ")";
        }
    }
    return ppd;
}

void closePPDFile(ppd_file_s* ppd) {
    if (ppd != nullptr) {
        ppdClose(ppd);
    }
}

bool ppdHasOption(ppd_file_s* ppd, const std::string& key) {
    return ppd != nullptr && ppdFindOption(ppd, key.c_str()) != nullptr;
}

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
