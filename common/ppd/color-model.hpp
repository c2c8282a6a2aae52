#pragma once
// ColorModel, the colour choice of the T48's PPD that every program's dialog knows, beside
// the printer's own Color as Grayscale, which it stands for: Gray is Color as Grayscale
// on, RGB off. The printer has no ColorModel of its own; the hosts send both alike and the
// filter prints both alike.

#include <string_view>

namespace t48::ppd {

inline constexpr char kColorModelOption[] = "ColorModel";
inline constexpr char kColorAsGrayOption[] = "ZTColorAsGray";

// The ColorModel choice for Color as Grayscale on (`gray`) or off.
constexpr const char* colorModelChoice(bool gray) {
    return gray ? "Gray" : "RGB";
}

// True for the ColorModel choice that prints grey.
constexpr bool isGrayColorModel(std::string_view choice) {
    return choice == colorModelChoice(true);
}

// True for Color as Grayscale's choice "on" (a PPD Boolean).
constexpr bool isColorAsGrayOn(std::string_view choice) {
    return choice == "True";
}

// The Color as Grayscale choice for `gray`.
constexpr const char* colorAsGrayChoice(bool gray) {
    return gray ? "True" : "False";
}

}  // namespace t48::ppd
