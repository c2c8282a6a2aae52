// The key filters' character sets at their edges, the composed-character reader and the
// removal of rejected units.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "key-filters.hpp"
#include "utf16-text.hpp"

namespace t48::pde {
namespace {

struct FilterCase {
    int32_t filter;
    uint32_t codePoint;
    bool accepted;
};

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << "filter " << c.filter << " U+" << std::hex << c.codePoint;
}

class KeyFilterEdges : public ::testing::TestWithParam<FilterCase> {};

TEST_P(KeyFilterEdges, AcceptsExactlyItsSet) {
    const FilterCase c = GetParam();
    EXPECT_EQ(FilterEditTextInputKey(c.filter, c.codePoint), c.accepted)
        << "filter " << c.filter << ", code point 0x" << std::hex << c.codePoint;
}

INSTANTIATE_TEST_SUITE_P(
    Sets, KeyFilterEdges,
    ::testing::Values(
        // 0: printable ASCII.
        FilterCase{0, 0x1F, false}, FilterCase{0, 0x20, true}, FilterCase{0, 0x7E, true},
        FilterCase{0, 0x7F, false}, FilterCase{0, 0xE9, false}, FilterCase{0, 0x1F600, false},
        // 1: file-name characters, not space, quote or the path and wildcard signs.
        FilterCase{1, '!', true}, FilterCase{1, '`', true}, FilterCase{1, '~', true},
        FilterCase{1, '.', true}, FilterCase{1, '{', true}, FilterCase{1, ' ', false},
        FilterCase{1, '"', false}, FilterCase{1, '*', false}, FilterCase{1, '+', false},
        FilterCase{1, ',', false}, FilterCase{1, '/', false}, FilterCase{1, ':', false},
        FilterCase{1, '@', false}, FilterCase{1, '[', false}, FilterCase{1, '\\', false},
        FilterCase{1, '|', false}, FilterCase{1, 0, false}, FilterCase{1, 0x121, false},
        // 2: letters and digits.
        FilterCase{2, 'z', true}, FilterCase{2, '0', true}, FilterCase{2, '_', false},
        FilterCase{2, 0xC0, false},
        // 3: digits only.
        FilterCase{3, '0', true}, FilterCase{3, '9', true}, FilterCase{3, '/', false},
        FilterCase{3, ':', false}, FilterCase{3, 'a', false},
        // Any other number: everything but the double quote and the plus sign.
        FilterCase{7, '"', false}, FilterCase{7, '+', false}, FilterCase{7, 0, true},
        FilterCase{7, 0xE9, true}, FilterCase{7, 0xD800, true}, FilterCase{7, 0x10FFFF, true},
        FilterCase{-3, '+', false}, FilterCase{4, 'A', true}));

TEST(KeyFilterFunctions, OneArgumentTestsMatchTheirFilterNumber) {
    for (uint32_t c = 0; c < 0x200; ++c) {
        EXPECT_EQ(AsciiKeyFilter(c), FilterEditTextInputKey(0, c)) << c;
        EXPECT_EQ(AsciiKeyFilterAppoint(c), FilterEditTextInputKey(1, c)) << c;
        EXPECT_EQ(AlphaNumericKeyFilter(c), FilterEditTextInputKey(2, c)) << c;
        EXPECT_EQ(NumericKeyFilter(c), FilterEditTextInputKey(3, c)) << c;
        EXPECT_EQ(WideCharKeyFilter(c), FilterEditTextInputKey(99, c)) << c;
    }
}

TEST(ComposedChar, PairAtIndexZeroAnswersTheCodePointAndStepsOneUnit) {
    const UniChar units[] = {0xD83D, 0xDE00};
    int32_t next = -1;
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 2, 0, &next), 0x1F600u);
    EXPECT_EQ(next, 1);
    // The second unit is read with whatever follows it; here nothing does.
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 2, 1, &next), 0xDE00u);
    EXPECT_EQ(next, 2);
}

TEST(ComposedChar, SurrogateInLastPlaceIsItsOwnCodePoint) {
    const UniChar units[] = {u'A', 0xD83D};
    int32_t next = 0;
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 2, 1, &next), 0xD83Du);
    EXPECT_EQ(next, 2);
}

TEST(ComposedChar, LowSurrogateIsCombinedWithTheUnitAfterIt) {
    const UniChar units[] = {0xDC00, u'A'};
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 2, 0, nullptr), 0x10000u + 0x41u);
}

TEST(ComposedChar, NoUnitAtTheIndexAnswersZero) {
    const UniChar units[] = {u'A'};
    int32_t next = 0;
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 1, 1, &next), 0u);
    EXPECT_EQ(next, 2);
    EXPECT_EQ(UCFindComposedCharAtIndex(units, 1, -1, &next), 0u);
    EXPECT_EQ(UCFindComposedCharAtIndex(nullptr, 1, 0, &next), 0u);
}

struct RemovalCase {
    std::u16string input;
    int32_t filter;
    std::u16string expected;
};

void PrintTo(const RemovalCase& c, std::ostream* out) {
    *out << "filter " << c.filter << " over " << ui::utf8FromUtf16(c.input);
}

class CheckUniChar : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(CheckUniChar, RemovesRejectedUnits) {
    const RemovalCase& c = GetParam();
    std::u16string editable = c.input;
    ASSERT_EQ(CheckUniCharString(c.input.data(), static_cast<int32_t>(c.input.size()), c.filter,
                                 &editable),
              kPDENoErr);
    EXPECT_TRUE(editable == c.expected) << "filter " << c.filter;
}

INSTANTIATE_TEST_SUITE_P(Texts, CheckUniChar,
                         ::testing::Values(RemovalCase{u"A B.ICC", 1, u"AB.ICC"},
                                           RemovalCase{u"Caf\u00e9 cr\u00e8me", 0, u"Caf crme"},
                                           RemovalCase{u"\U0001F600x", 0, u"x"},
                                           RemovalCase{u"a\"b+c\U0001F600", 7, u"abc\U0001F600"},
                                           RemovalCase{u"12a3", 3, u"123"},
                                           RemovalCase{u"\"\"\"", 7, u""}, RemovalCase{u"", 0, u""},
                                           RemovalCase{u"x\xD800", 0, u"x"}));

TEST(CheckUniChar, MissingArgumentsAreRefused) {
    std::u16string editable = u"A";
    EXPECT_EQ(CheckUniCharString(nullptr, 1, 0, &editable), kPDEParamErr);
    EXPECT_EQ(CheckUniCharString(editable.data(), 1, 0, nullptr), kPDEParamErr);
    EXPECT_TRUE(editable == u"A");
}

}  // namespace
}  // namespace t48::pde
