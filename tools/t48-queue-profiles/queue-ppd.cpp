#include "queue-ppd.hpp"

#include <cstdio>
#include <map>
#include <set>
#include <string_view>
#include <utility>

#include "printer-profile-mark.hpp"
#include "profile-command.hpp"
#include "text-encoding.hpp"

namespace t48::tools {
namespace {

constexpr std::string_view kDefaultPrefix = "*Default";
constexpr std::string_view kCloseUI = "*CloseUI: *";

// The lines of a PPD, each with its line end (the last one may have none).
std::vector<std::string_view> linesOf(const std::string& text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string::npos ? text.size() : end + 1;
        lines.push_back(std::string_view(text).substr(at, end - at));
        at = end;
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// The main keyword and spec of an entry line "*KEYWORD SPEC/TEXT: ..." ("" for none).
std::pair<std::string_view, std::string_view> entryOf(std::string_view line) {
    if (line.empty() || line.front() != '*' || line.starts_with("*%")) {
        return {};
    }
    const std::size_t keywordEnd = line.find_first_of(" \t:", 1);
    if (keywordEnd == std::string_view::npos) {
        return {};
    }
    const std::string_view keyword = line.substr(1, keywordEnd - 1);
    if (line[keywordEnd] == ':') {
        return {keyword, {}};
    }
    const std::size_t specBegin = line.find_first_not_of(" \t", keywordEnd);
    const std::size_t specEnd = line.find_first_of("/:", specBegin);
    if (specBegin == std::string_view::npos || specEnd == std::string_view::npos) {
        return {keyword, {}};
    }
    return {keyword, trimmed(line.substr(specBegin, specEnd - specBegin))};
}

// A *Default line's keyword ("*DefaultZTQuickColor: Vivid" gives "ZTQuickColor") and value.
std::optional<std::pair<std::string, std::string>> defaultOf(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (!line.starts_with(kDefaultPrefix) || colon == std::string_view::npos) {
        return std::nullopt;
    }
    return std::make_pair(
        std::string(line.substr(kDefaultPrefix.size(), colon - kDefaultPrefix.size())),
        std::string(trimmed(line.substr(colon + 1))));
}

// A PPD text: ':' would end it and '<' begin a hex string, and control bytes have no
// place in a line; those are written as hex strings.
std::string ppdText(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == ':' || c == '<') {
            char hex[5];
            std::snprintf(hex, sizeof hex, "<%02X>", b);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

std::string choiceLines(const std::string& option, const std::vector<ProfileChoice>& choices,
                        const char* languageEncoding) {
    std::string lines;
    for (const ProfileChoice& choice : choices) {
        lines += "*" + option + " " + choice.keyword + "/" +
                 ppdText(pde::textForLanguageEncoding(choice.text, languageEncoding)) + ": \"" +
                 pde::profileSelectCommand(option, choice.path) + "\"\n";
    }
    return lines;
}

std::string markLines(const std::string& option, const std::vector<ProfileChoice>& choices) {
    std::string lines;
    for (const ProfileChoice& choice : choices) {
        lines += std::string("*") + pde::kPrinterProfileMark + " " + option + ": \"" +
                 pde::printerProfileMarkValue({choice.keyword, choice.path}) + "\"\n";
    }
    return lines;
}

// Every *Default line of `ppd` takes the value `queuePPD` gives its keyword where `ppd`
// has an entry of that keyword with that spec.
std::string withQueueDefaults(const std::string& ppd, const std::string& queuePPD) {
    std::map<std::string, std::string, std::less<>> queueDefaults;
    for (std::string_view line : linesOf(queuePPD)) {
        if (const auto found = defaultOf(line)) {
            queueDefaults.emplace(found->first, found->second);
        }
    }
    std::set<std::pair<std::string_view, std::string_view>> offered;
    const std::vector<std::string_view> lines = linesOf(ppd);
    for (std::string_view line : lines) {
        if (const auto entry = entryOf(line); !entry.second.empty()) {
            offered.insert(entry);
        }
    }
    std::string out;
    for (std::string_view line : lines) {
        const auto found = defaultOf(line);
        const auto queue = found ? queueDefaults.find(found->first) : queueDefaults.end();
        if (queue != queueDefaults.end() && queue->second != found->second &&
            offered.count({queue->first, queue->second}) != 0) {
            out += std::string(kDefaultPrefix) + queue->first + ": " + queue->second + "\n";
        } else {
            out += line;
        }
    }
    return out;
}

}  // namespace

std::optional<std::string> ppdValue(const std::string& ppd, const std::string& keyword) {
    const std::string prefix = "*" + keyword + ":";
    for (std::string_view line : linesOf(ppd)) {
        if (line.starts_with(prefix)) {
            return std::string(trimmed(line.substr(prefix.size())));
        }
    }
    return std::nullopt;
}

std::vector<std::string> ppdChoices(const std::string& ppd, const std::string& option) {
    std::vector<std::string> choices;
    for (std::string_view line : linesOf(ppd)) {
        if (const auto entry = entryOf(line); entry.first == option && !entry.second.empty()) {
            choices.emplace_back(entry.second);
        }
    }
    return choices;
}

std::string queuePPDWithProfiles(const std::string& driverPPD, const std::string& queuePPD,
                                 const std::vector<OptionProfiles>& profiles) {
    const std::string languageEncoding = ppdValue(driverPPD, "LanguageEncoding").value_or("");
    std::string ppd;
    for (std::string_view line : linesOf(driverPPD)) {
        const OptionProfiles* closed = nullptr;
        for (const OptionProfiles& option : profiles) {
            if (line.starts_with(kCloseUI) &&
                trimmed(line.substr(kCloseUI.size())) == option.option) {
                closed = &option;
            }
        }
        if (closed != nullptr) {
            ppd += choiceLines(closed->option, closed->choices, languageEncoding.c_str());
        }
        ppd += line;
        if (closed != nullptr) {
            ppd += markLines(closed->option, closed->choices);
        }
    }
    return withQueueDefaults(ppd, queuePPD);
}

}  // namespace t48::tools
