// Every UTF-16 unit, and every surrogate pair, at the start, in the middle and at the end
// of a short text, through each of the five key filters. The filtered text must be the
// expected subsequence of the input, filtering it again must change nothing, and what the
// file-name filter lets through must pass the merge's file-name test.
//
// The loops run over fixed buffers with no allocation per case and report only the
// first few failures of a case, so the 15 million filterings stay quick under ASan.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "key-filters.hpp"
#include "spool-list.hpp"

namespace t48::pde {
namespace {

constexpr int32_t kFilters[] = {0, 1, 2, 3, 7};
constexpr char16_t kContext = u'1';  // a digit, which every filter keeps
constexpr char16_t kContext2 = u'2';
constexpr int kMaxReported = 5;

enum class Place { Start, Middle, End };

// What each filter should accept, written from the character sets themselves; for the
// file-name filter that is the merge's own byte test.
bool oracleAccepts(int32_t filter, uint32_t codePoint) {
    const bool ascii = codePoint < 0x80;
    const bool digit = codePoint >= '0' && codePoint <= '9';
    const bool letter =
        (codePoint >= 'A' && codePoint <= 'Z') || (codePoint >= 'a' && codePoint <= 'z');
    switch (filter) {
        case 0:
            return codePoint >= 0x20 && codePoint < 0x7F;
        case 1:
            return ascii && discovery::FileNameFilter(static_cast<unsigned char>(codePoint));
        case 2:
            return digit || letter;
        case 3:
            return digit;
        default:
            return codePoint != '"' && codePoint != '+';
    }
}

bool isSubsequence(std::u16string_view part, const char16_t* whole, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < count && at < part.size(); ++i) {
        if (whole[i] == part[at]) {
            ++at;
        }
    }
    return at == part.size();
}

// Places `inserted` (one unit or a pair) into the context "12" and answers the count.
std::size_t buildText(Place place, const char16_t* inserted, std::size_t insertedCount,
                      std::array<char16_t, 4>& units) {
    const std::size_t at = place == Place::Start ? 0 : place == Place::Middle ? 1 : 2;
    std::size_t out = 0;
    const char16_t context[2] = {kContext, kContext2};
    for (std::size_t c = 0; c <= 2; ++c) {
        if (c == at) {
            for (std::size_t i = 0; i < insertedCount; ++i) {
                units[out++] = inserted[i];
            }
        }
        if (c < 2) {
            units[out++] = context[c];
        }
    }
    return out;
}

class ExhaustiveFilter : public ::testing::TestWithParam<std::tuple<int32_t, Place>> {
protected:
    // Filters `units` and checks every property; `keepInserted` is whether the inserted
    // unit(s) should survive. Answers false on the first broken property, with a message.
    bool check(const std::array<char16_t, 4>& units, std::size_t count, bool keepInserted,
               std::string& message) {
        const int32_t filter = std::get<0>(GetParam());
        once_.assign(units.data(), count);
        if (CheckUniCharString(units.data(), static_cast<int32_t>(count), filter, &once_) !=
            kPDENoErr) {
            message = "CheckUniCharString failed";
            return false;
        }
        expected_.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const bool context = units[i] == kContext || units[i] == kContext2;
            if (context || keepInserted) {
                expected_ += units[i];
            }
        }
        if (once_ != expected_) {
            message = "filtered text differs from the expected " +
                      std::to_string(expected_.size()) + " units (got " +
                      std::to_string(once_.size()) + ")";
            return false;
        }
        if (!isSubsequence(once_, units.data(), count)) {
            message = "filtered text is no subsequence of the input";
            return false;
        }
        twice_ = once_;
        CheckUniCharString(once_.data(), static_cast<int32_t>(once_.size()), filter, &twice_);
        if (twice_ != once_) {
            message = "filtering twice changed the text";
            return false;
        }
        if (filter == kKeyFilterFileName && !passesFileNameTests(message)) {
            return false;
        }
        return true;
    }

    bool passesFileNameTests(std::string& message) {
        char bytes[8] = {};
        for (std::size_t i = 0; i < once_.size(); ++i) {
            if (!discovery::FileNameFilter(static_cast<unsigned char>(once_[i])) ||
                once_[i] > 0x7F) {
                message = "file-name output holds a unit the merge rejects";
                return false;
            }
            bytes[i] = static_cast<char>(once_[i]);
        }
        // The field disables OK for a text beginning with "."; every other output is a
        // name the merge keeps.
        if (bytes[0] != '.' && !discovery::bJudgement8point3Format(bytes)) {
            message = std::string("merge rejects the file name ") + bytes;
            return false;
        }
        return true;
    }

    void report(const std::array<char16_t, 4>& units, std::size_t count, const std::string& why) {
        if (++failures_ <= kMaxReported) {
            std::string shown;
            for (std::size_t i = 0; i < count; ++i) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "%04X ", units[i]);
                shown += hex;
            }
            ADD_FAILURE() << "filter " << std::get<0>(GetParam()) << ", text " << shown << ": "
                          << why;
        }
    }

    std::u16string once_, twice_, expected_;
    int failures_ = 0;
};

TEST_P(ExhaustiveFilter, EveryUnitAlone) {
    const auto [filter, place] = GetParam();
    std::array<char16_t, 4> units{};
    std::string why;
    for (uint32_t u = 0; u <= 0xFFFF; ++u) {
        const char16_t unit = static_cast<char16_t>(u);
        const std::size_t count = buildText(place, &unit, 1, units);
        // A surrogate here is read with the digit after it, or alone at the end: never a
        // character of the four ASCII sets, never the quote or plus of the wide set.
        const bool surrogate = u >= 0xD800 && u <= 0xDFFF;
        const bool keep = surrogate ? oracleAccepts(filter, 0x10000) : oracleAccepts(filter, u);
        if (!check(units, count, keep, why)) {
            report(units, count, why);
        }
    }
    EXPECT_EQ(failures_, 0);
}

TEST_P(ExhaustiveFilter, EverySurrogatePair) {
    const auto [filter, place] = GetParam();
    const bool keep = oracleAccepts(filter, 0x10000);
    std::array<char16_t, 4> units{};
    std::string why;
    for (uint32_t high = 0xD800; high <= 0xDBFF; ++high) {
        for (uint32_t low = 0xDC00; low <= 0xDFFF; ++low) {
            const char16_t pair[2] = {static_cast<char16_t>(high), static_cast<char16_t>(low)};
            const std::size_t count = buildText(place, pair, 2, units);
            if (!check(units, count, keep, why)) {
                report(units, count, why);
            }
        }
    }
    EXPECT_EQ(failures_, 0);
}

INSTANTIATE_TEST_SUITE_P(AllFiltersAndPlaces, ExhaustiveFilter,
                         ::testing::Combine(::testing::ValuesIn(kFilters),
                                            ::testing::Values(Place::Start, Place::Middle,
                                                              Place::End)),
                         [](const auto& info) {
                             const Place place = std::get<1>(info.param);
                             return "filter" + std::to_string(std::get<0>(info.param)) +
                                    (place == Place::Start    ? "_start"
                                     : place == Place::Middle ? "_middle"
                                                              : "_end");
                         });

}  // namespace
}  // namespace t48::pde
