#include "walk-options.hpp"

namespace t48::xpc {
namespace {

// One accepted option letter and the values it may take.
struct WalkOption {
    char letter;
    std::string_view onlyValue;     // the one value allowed, or empty for any
    std::string_view valueLetters;  // letters the value may be made of, or empty for any
};

constexpr WalkOption kWalkOptions[] = {
    {'O', {}, {}},     // output format; the library refuses letters it does not know
    {'c', {}, {}},     // community
    {'v', "1", {}},    // SNMPv1, the printer's only version
    {'t', {}, {}},     // time-out in seconds
    {'r', {}, {}},     // retries
    {'C', {}, "cpi"},  // the walk's own letters
};

const WalkOption* findOption(char letter) {
    for (const WalkOption& option : kWalkOptions) {
        if (option.letter == letter) {
            return &option;
        }
    }
    return nullptr;
}

bool isAcceptedValue(const WalkOption& option, std::string_view value) {
    if (!option.onlyValue.empty()) {
        return value == option.onlyValue;
    }
    if (!option.valueLetters.empty()) {
        return !value.empty() &&
               value.find_first_not_of(option.valueLetters) == std::string_view::npos;
    }
    return true;
}

}  // namespace

bool isProfileWalkArgumentList(const std::vector<std::string_view>& arguments) {
    // Every option takes a value, so an option argument is one letter and its value; the
    // library's parser would also find options after the agent, so all are looked at.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument.empty() || argument.front() != '-') {
            continue;
        }
        const WalkOption* option = argument.size() >= 2 ? findOption(argument[1]) : nullptr;
        if (option == nullptr) {
            return false;
        }
        std::string_view value = argument.substr(2);
        if (value.empty()) {
            if (++i == arguments.size()) {
                return false;
            }
            value = arguments[i];
        }
        if (!isAcceptedValue(*option, value)) {
            return false;
        }
    }
    return true;
}

}  // namespace t48::xpc
