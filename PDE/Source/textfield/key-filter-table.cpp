// The key filters as data: each accepted set is a few code point ranges plus single
// characters, less the characters it excludes.

#include "key-filter-table.hpp"

namespace t48::pde::detail {
namespace {

constexpr CodePointRange kPrintableAscii[] = {{0x20, 0x7E}};
constexpr CodePointRange kLettersAndDigits[] = {{'0', '9'}, {'A', 'Z'}, {'a', 'z'}};
constexpr CodePointRange kDigits[] = {{'0', '9'}};
constexpr CodePointRange kEverything[] = {{0, UINT32_MAX}};

// The punctuation a profile file name may carry (as the merge's file-name test allows).
constexpr char kFileNamePunctuation[] = "!#$%&'()-.^_{}~`";

}  // namespace

const KeyFilterRule kKeyFilterRules[] = {
    {kKeyFilterAscii, kPrintableAscii, "", ""},
    {kKeyFilterFileName, kLettersAndDigits, kFileNamePunctuation, ""},
    {kKeyFilterAlphaNumeric, kLettersAndDigits, "", ""},
    {kKeyFilterNumeric, kDigits, "", ""},
    {kKeyFilterWide, kEverything, "", "\"+"},
};

const std::span<const KeyFilterRule> kKeyFilters{kKeyFilterRules};

}  // namespace t48::pde::detail
