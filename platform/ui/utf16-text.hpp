#pragma once
// Conversions between the UTF-8 the rest of the system keeps and the UTF-16 units that
// text fields edit, and the counting between characters and units.

#include <cstddef>
#include <string>
#include <string_view>

namespace t48::ui {

// Unpaired surrogates become U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);
// Each ill-formed sequence becomes one U+FFFD (see text::nextCharacter).
std::u16string utf16FromUtf8(std::string_view text);

// The units of the character at unit `at` (< text.size()): two for a surrogate pair,
// else one.
std::size_t utf16CharacterLength(std::u16string_view text, std::size_t at);
// The characters in the first `units` units of `text` (a surrogate pair is one).
std::size_t utf16CharacterCount(std::u16string_view text, std::size_t units);
// The UTF-16 units of the first `characters` characters of UTF-8 `text` (of all of it
// when it has fewer), as utf16FromUtf8 converts them.
std::size_t utf16UnitCount(std::string_view text, std::size_t characters);

}  // namespace t48::ui
