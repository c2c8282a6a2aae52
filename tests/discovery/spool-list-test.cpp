// Filing printer values into the spool list, and the file-name shape test.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "spool-list.hpp"

namespace t48::discovery {
namespace {

std::vector<oid> valueName(oid column, oid row, std::size_t extra = 0) {
    std::vector<oid> name = {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1, column, 1, row};
    name.resize(name.size() + extra, 7);
    return name;
}

// A received variable as net-snmp hands it over.
struct Variable {
    netsnmp_variable_list var{};
    long integer = 0;
    std::string text;

    static Variable integerValue(long value, u_char type = ASN_INTEGER) {
        Variable v;
        v.integer = value;
        v.var.type = type;
        v.var.val_len = sizeof(long);
        return v;
    }
    static Variable textValue(std::string value, u_char type = ASN_OCTET_STR) {
        Variable v;
        v.text = std::move(value);
        v.var.type = type;
        v.var.val_len = v.text.size();
        return v;
    }
    const netsnmp_variable_list* get() {
        if (var.type == ASN_OCTET_STR) {
            var.val.string = reinterpret_cast<u_char*>(text.data());
        } else {
            var.val.integer = &integer;
        }
        return &var;
    }
};

void spool(const std::vector<oid>& name, Variable value) {
    vSpoolPlist(name.data(), name.size(), value.get(), kSpoolFileVariable);
}

class SpoolListTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&PlistForSpool, 0x5A, sizeof PlistForSpool);
        vSpoolPlist(nullptr, 0, nullptr, kSpoolClear);
    }
    const store::ProfileEntry& row(int r) { return PlistForSpool.litem[r - 1]; }
};

TEST_F(SpoolListTest, ClearZeroesEveryEntryAndTheCount) {
    const store::ProfileList zero{};
    EXPECT_EQ(std::memcmp(&PlistForSpool, &zero, sizeof zero), 0);
}

TEST_F(SpoolListTest, FilesEachColumnIntoItsFieldOfTheRow) {
    spool(valueName(1, 3), Variable::integerValue(3));
    spool(valueName(2, 3), Variable::integerValue(5));
    spool(valueName(3, 3), Variable::textValue("Press Coated"));
    spool(valueName(4, 3), Variable::textValue("PRESS.ICC"));
    spool(valueName(5, 3), Variable::integerValue(3));
    spool(valueName(6, 3), Variable::integerValue(99));
    spool(valueName(7, 3), Variable::integerValue(1));

    EXPECT_EQ(PlistForSpool.iNum, 1);
    EXPECT_EQ(row(3).iIndexOnDevice, 3);
    EXPECT_EQ(row(3).iLocation, 5);
    EXPECT_STREQ(row(3).ProfileName, "Press Coated");
    EXPECT_STREQ(row(3).FileName, "PRESS.ICC");
    EXPECT_EQ(row(3).iProfileClass, 3);
    EXPECT_EQ(row(3).iDriver, 1);
    EXPECT_EQ(row(3).iInMenu, 0) << "the spool list never sets a state";
    const store::ProfileEntry empty{};
    EXPECT_EQ(std::memcmp(&row(2), &empty, sizeof empty), 0) << "column 6 is not stored anywhere";
    EXPECT_EQ(std::memcmp(&row(4), &empty, sizeof empty), 0);
}

TEST_F(SpoolListTest, IgnoresAValueOfTheWrongType) {
    spool(valueName(1, 1), Variable::textValue("1"));
    spool(valueName(3, 1), Variable::integerValue(42));
    spool(valueName(2, 1), Variable::integerValue(4, ASN_GAUGE));
    spool(valueName(4, 1), Variable::textValue("A.ICC", ASN_OPAQUE));
    const store::ProfileList zero{};
    EXPECT_EQ(std::memcmp(&PlistForSpool, &zero, sizeof zero), 0);
}

struct BadName {
    const char* what;
    std::vector<oid> name;
};

class SpoolListBadNameTest : public SpoolListTest, public ::testing::WithParamInterface<BadName> {};

TEST_P(SpoolListBadNameTest, LeavesTheSpoolListUntouched) {
    spool(GetParam().name, Variable::integerValue(9));
    const store::ProfileList zero{};
    EXPECT_EQ(std::memcmp(&PlistForSpool, &zero, sizeof zero), 0) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Names, SpoolListBadNameTest,
    ::testing::Values(
        BadName{"row 0", valueName(1, 0)}, BadName{"row 501", valueName(1, 501)},
        BadName{"row 2^32-1", valueName(1, 4294967295u)},
        BadName{"19 sub-identifiers", valueName(1, 1, 1)},
        BadName{"17 sub-identifiers", {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1, 1, 1}},
        BadName{"the entry itself", {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 13, 1, 1}},
        BadName{"column 8", valueName(8, 1)},
        BadName{"another table", {1, 3, 6, 1, 4, 1, 47193, 1, 1, 1, 1, 6, 14, 1, 1, 1, 1, 1}}));

TEST_F(SpoolListTest, RowsOneAndFiveHundredAreTheEnds) {
    spool(valueName(4, 1), Variable::textValue("FIRST.ICC"));
    spool(valueName(4, 500), Variable::textValue("LAST.ICC"));
    EXPECT_STREQ(row(1).FileName, "FIRST.ICC");
    EXPECT_STREQ(row(500).FileName, "LAST.ICC");
}

TEST_F(SpoolListTest, CountStopsAtFiveHundredWhateverArrives) {
    for (int i = 0; i < 1200; ++i) {
        spool(valueName(1, 1 + i % 500), Variable::integerValue(i));
    }
    EXPECT_EQ(PlistForSpool.iNum, store::kProfileSlots);
}

struct TextCut {
    const char* what;
    std::string received;
    std::string kept;
};

class SpoolListTextTest : public SpoolListTest, public ::testing::WithParamInterface<TextCut> {};

TEST_P(SpoolListTextTest, KeepsAtMost31BytesEndingOnAWholeCharacter) {
    spool(valueName(3, 7), Variable::textValue(GetParam().received));
    EXPECT_EQ(std::string(row(7).ProfileName), GetParam().kept) << GetParam().what;
    EXPECT_EQ(row(7).ProfileName[31], '\0');
    EXPECT_EQ(row(7).FileName[0], '\0') << "the neighbouring field is untouched";
}

const std::string k31(31, 'a');
INSTANTIATE_TEST_SUITE_P(
    Texts, SpoolListTextTest,
    ::testing::Values(TextCut{"31 bytes", k31, k31}, TextCut{"32 bytes", k31 + "b", k31},
                      TextCut{"64 KiB", std::string(65536, 'x'), std::string(31, 'x')},
                      TextCut{"two-byte character across the cut",
                              std::string(30, 'a') + "\xC3\x9C", std::string(30, 'a')},
                      TextCut{"three-byte character across the cut",
                              std::string(29, 'a') + "\xE2\x82\xAC" + "z", std::string(29, 'a')},
                      TextCut{"four-byte character across the cut",
                              std::string(28, 'a') + "\xF0\x9F\x96\xA8" + "z",
                              std::string(28, 'a')},
                      TextCut{"character ending at byte 31",
                              std::string(29, 'a') + "\xC3\x9C" + "zz",
                              std::string(29, 'a') + "\xC3\x9C"},
                      TextCut{"embedded NUL ends the text", std::string("ab\0cd", 5), "ab"},
                      TextCut{"empty", "", ""}));

TEST_F(SpoolListTest, AShorterRepeatReplacesTheWholeText) {
    spool(valueName(4, 2), Variable::textValue("LONGERNAME.ICC"));
    spool(valueName(4, 2), Variable::textValue("A.ICC"));
    EXPECT_STREQ(row(2).FileName, "A.ICC");
    EXPECT_EQ(row(2).FileName[6], '\0');
}

struct Shape {
    const char* name;
    bool wellShaped;
};

class FileNameShapeTest : public ::testing::TestWithParam<Shape> {};

TEST_P(FileNameShapeTest, Judges) {
    EXPECT_EQ(bJudgement8point3Format(GetParam().name), GetParam().wellShaped)
        << "\"" << GetParam().name << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameShapeTest,
    ::testing::Values(Shape{"PROFILE1.ICC", true}, Shape{"a.b.c", true}, Shape{"name.", true},
                      Shape{"NOEXT", true}, Shape{"x.ic", true}, Shape{"!#$%&'()-^_{}~`.icc", true},
                      Shape{"aaaaaaaaaaaaaaaaaaaaaaaaaaa.ICC", true},    // base of 27
                      Shape{"aaaaaaaaaaaaaaaaaaaaaaaaaaaa.ICC", false},  // base of 28
                      Shape{"aaaaaaaaaaaaaaaaaaaaaaaaaaa", true},
                      Shape{"aaaaaaaaaaaaaaaaaaaaaaaaaaaa", false}, Shape{".icc", false},
                      Shape{"PROFILE.ICCX", false}, Shape{"a.b.cd", false},
                      Shape{"my file.icc", false}, Shape{"", false}, Shape{"a/b.icc", false},
                      Shape{"caf\xC3\xA9.icc", false}, Shape{"a\".icc", false}));

TEST(FileNameShape, NullIsIllShaped) {
    EXPECT_FALSE(bJudgement8point3Format(nullptr));
}

TEST(FileNameFilter, AcceptsExactlyLettersDigitsAndSixteenPunctuationMarks) {
    const std::string punctuation = "!#$%&'()-.^_{}~`";
    int accepted = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const bool expected =
            std::isalnum(byte) != 0 && byte < 0x80
                ? true
                : byte != 0 && punctuation.find(static_cast<char>(byte)) != std::string::npos;
        EXPECT_EQ(FileNameFilter(static_cast<unsigned char>(byte)), expected) << "byte " << byte;
        accepted += FileNameFilter(static_cast<unsigned char>(byte)) ? 1 : 0;
    }
    EXPECT_EQ(accepted, 26 + 26 + 10 + 16);
}

}  // namespace
}  // namespace t48::discovery
