#pragma once
// splitCharEvery: cuts a text into pieces of n UTF-16 code units, counted from the
// front; the last piece holds the rest.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace t48::store::panel {

// `text` is UTF-8. A text of at most n code units gives one piece, the text itself (also
// for the empty text); n = 0 gives no pieces. A character outside the Basic Multilingual
// Plane (two code units) is never torn apart: a piece that would end between its two
// units ends before it, one unit short.
std::vector<std::string> splitCharEvery(std::string_view text, std::size_t n);

// Length of a UTF-8 text in UTF-16 code units.
std::size_t utf16Length(std::string_view text);

}  // namespace t48::store::panel
