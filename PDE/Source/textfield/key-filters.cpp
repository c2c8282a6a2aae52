#include "key-filters.hpp"

#include <cstring>

#include "key-filter-table.hpp"

namespace t48::pde {
namespace {

using detail::KeyFilterRule;

// Plain loops over the table's arrays: these run for every unit of every edit, and in
// unoptimised builds each iterator or algorithm call would cost a function call.
bool isAsciiAmong(std::string_view characters, uint32_t codePoint) {
    return codePoint != 0 && codePoint < 0x80 &&
           std::memchr(characters.data(), static_cast<int>(codePoint), characters.size()) !=
               nullptr;
}

bool ruleAccepts(const KeyFilterRule& rule, uint32_t codePoint) {
    if (isAsciiAmong(rule.excluded, codePoint)) {
        return false;
    }
    const detail::CodePointRange* ranges = rule.ranges.data();
    for (std::size_t i = 0, n = rule.ranges.size(); i < n; ++i) {
        if (codePoint >= ranges[i].first && codePoint <= ranges[i].last) {
            return true;
        }
    }
    return isAsciiAmong(rule.extras, codePoint);
}

const KeyFilterRule& ruleFor(int32_t keyFilter) {
    const KeyFilterRule* wide = nullptr;
    for (const KeyFilterRule& rule : detail::kKeyFilters) {
        if (rule.number == keyFilter) {
            return rule;
        }
        if (rule.number == detail::kKeyFilterWide) {
            wide = &rule;
        }
    }
    return *wide;
}

bool isSurrogate(UniChar unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

}  // namespace

bool FilterEditTextInputKey(int32_t keyFilter, uint32_t codePoint) {
    return ruleAccepts(ruleFor(keyFilter), codePoint);
}

bool AsciiKeyFilter(uint32_t codePoint) {
    return FilterEditTextInputKey(kKeyFilterAscii, codePoint);
}
bool AsciiKeyFilterAppoint(uint32_t codePoint) {
    return FilterEditTextInputKey(kKeyFilterFileName, codePoint);
}
bool AlphaNumericKeyFilter(uint32_t codePoint) {
    return FilterEditTextInputKey(kKeyFilterAlphaNumeric, codePoint);
}
bool NumericKeyFilter(uint32_t codePoint) {
    return FilterEditTextInputKey(kKeyFilterNumeric, codePoint);
}
bool WideCharKeyFilter(uint32_t codePoint) {
    return FilterEditTextInputKey(detail::kKeyFilterWide, codePoint);
}

uint32_t UCFindComposedCharAtIndex(const UniChar* units, int32_t count, int32_t index,
                                   int32_t* nextIndex) {
    if (nextIndex != nullptr) {
        *nextIndex = index + 1;
    }
    if (units == nullptr || index < 0 || index >= count) {
        return 0;
    }
    const UniChar unit = units[index];
    // Either half of a pair is combined with the unit after it; a surrogate in the last
    // place has no partner and is taken as it is rather than reading past the end.
    if (isSurrogate(unit) && index + 1 < count) {
        return (((uint32_t{unit} & 0x3FF) << 10) | (uint32_t{units[index + 1]} & 0x3FF)) + 0x10000;
    }
    return unit;
}

int32_t CheckUniCharString(const UniChar* units, int32_t count, int32_t keyFilter,
                           std::u16string* editable) {
    if (units == nullptr || editable == nullptr || count < 0) {
        return kPDEParamErr;
    }
    const KeyFilterRule& rule = ruleFor(keyFilter);
    int32_t q = 0;
    for (int32_t p = 0; p < count;) {
        int32_t next = p + 1;
        const uint32_t codePoint = UCFindComposedCharAtIndex(units, count, p, &next);
        if (!ruleAccepts(rule, codePoint)) {
            if (static_cast<std::size_t>(q) < editable->size()) {
                editable->erase(static_cast<std::size_t>(q), 1);
            }
            --q;
        }
        p = next;
        ++q;
    }
    return kPDENoErr;
}

}  // namespace t48::pde
