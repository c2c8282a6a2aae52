#pragma once
// Key filters of the restricted text fields: which code points a field accepts, chosen
// by a filter number, and the removal of everything else from an edited text.

#include <cstdint>
#include <string>

#include "pde-status.hpp"

namespace t48::pde {

using UniChar = char16_t;

// Filter numbers; any other number selects the wide filter.
inline constexpr int32_t kKeyFilterAscii = 0;
inline constexpr int32_t kKeyFilterFileName = 1;
inline constexpr int32_t kKeyFilterAlphaNumeric = 2;
inline constexpr int32_t kKeyFilterNumeric = 3;

// True when filter `keyFilter` accepts `codePoint`.
bool FilterEditTextInputKey(int32_t keyFilter, uint32_t codePoint);

// The sets one by one: printable ASCII (0); file-name characters (1); ASCII letters and
// digits (2); digits (3); everything but the double quote and the plus sign (others).
bool AsciiKeyFilter(uint32_t codePoint);
bool AsciiKeyFilterAppoint(uint32_t codePoint);
bool AlphaNumericKeyFilter(uint32_t codePoint);
bool NumericKeyFilter(uint32_t codePoint);
bool WideCharKeyFilter(uint32_t codePoint);

// The code point at `index` of `units`. A surrogate unit (either half) is combined with
// the unit after it; a surrogate in the last position, having none, stands for itself.
// `*nextIndex` is always index + 1, so a caller stepping with it visits every unit.
// Answers 0 when there is no unit at `index`.
uint32_t UCFindComposedCharAtIndex(const UniChar* units, int32_t count, int32_t index,
                                   int32_t* nextIndex);

// Removes from `editable` every unit whose code point (as UCFindComposedCharAtIndex reads
// it from `units`) filter `keyFilter` rejects; `editable` starts as a copy of `units`.
// kPDEParamErr when an argument is missing, else kPDENoErr.
int32_t CheckUniCharString(const UniChar* units, int32_t count, int32_t keyFilter,
                           std::u16string* editable);

}  // namespace t48::pde
