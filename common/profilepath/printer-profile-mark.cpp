#include "printer-profile-mark.hpp"

namespace t48::pde {

std::string printerProfileMarkValue(const PrinterProfileChoice& choice) {
    return choice.choiceKeyword + " " + choice.path;
}

std::optional<PrinterProfileChoice> parsePrinterProfileMark(std::string_view value) {
    const std::size_t space = value.find(' ');
    if (space == 0 || space == std::string_view::npos || space + 1 == value.size()) {
        return std::nullopt;
    }
    return PrinterProfileChoice{std::string(value.substr(0, space)),
                                std::string(value.substr(space + 1))};
}

}  // namespace t48::pde
