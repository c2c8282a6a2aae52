#pragma once
// UTF-8 checks for the text fields: the property-list library stores bytes as given,
// so the store checks text itself before it goes into or comes out of a file.

#include <cstddef>
#include <string_view>

namespace t48::store::detail {

// True when `text` is well-formed UTF-8 (no overlongs, surrogates or values past
// U+10FFFF).
bool isValidUtf8(std::string_view text);

// True when `text` is valid UTF-8 that an XML 1.0 reader accepts back unchanged: no
// control characters other than tab and line feed.
bool isStorableText(std::string_view text);

// Length of the longest prefix of valid UTF-8 `text` of at most `limit` bytes that ends
// on a character boundary.
std::size_t wholeCharacterPrefix(std::string_view text, std::size_t limit);

}  // namespace t48::store::detail
