#pragma once
// The table behind FilterEditTextInputKey; internal to the text fields.

#include <cstdint>
#include <span>
#include <string_view>

#include "key-filters.hpp"

namespace t48::pde::detail {

struct CodePointRange {
    uint32_t first;
    uint32_t last;  // inclusive
};

// Accepted: a code point in one of `ranges` or among the ASCII `extras`, and not among
// the ASCII `excluded`.
struct KeyFilterRule {
    int32_t number;
    std::span<const CodePointRange> ranges;
    std::string_view extras;
    std::string_view excluded;
};

// The row for every filter number the table does not list.
inline constexpr int32_t kKeyFilterWide = -1;

extern const std::span<const KeyFilterRule> kKeyFilters;

}  // namespace t48::pde::detail
