#pragma once
// Conversions between the UTF-8 the rest of the system keeps and the UTF-16 units that
// text fields edit.

#include <string>
#include <string_view>

namespace t48::ui {

// Unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);
// Each ill-formed sequence becomes one U+FFFD (see text::nextCharacter).
std::u16string utf16FromUtf8(std::string_view text);

}  // namespace t48::ui
