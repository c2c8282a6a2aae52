// Choice rows and popup menus from real PPDs parsed by libcups, and the text
// conversion by each PPD's LanguageEncoding.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "panel-test-support.hpp"
#include "pde-common.hpp"
#include "text-encoding.hpp"

namespace {

using namespace t48::pde;
using t48::testing::dataPath;
using t48::testing::OpenPPD;
using t48::testing::samplePPDPath;
using t48::testing::TempDir;

std::unique_ptr<ChoiceRows> rowsOf(ppd_file_s* ppd, const char* key, int32_t* status = nullptr) {
    ChoiceRows* rows = nullptr;
    const int32_t result = PDECommon::commonGetPPDArrayForUIOption(ppd, key, rows);
    if (status != nullptr) {
        *status = result;
    }
    return std::unique_ptr<ChoiceRows>(rows);
}

TEST(ChoiceRows, SamplePPDGivesOneRowPerChoiceInPPDOrder) {
    OpenPPD ppd(samplePPDPath());
    ASSERT_NE(ppd.get(), nullptr) << ppd.error();
    auto rows = rowsOf(ppd.get(), "ZTQuickColor");
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->size(), 4u);
    for (const ChoiceRow& row : *rows) {
        EXPECT_EQ(row.optionKeyword, "ZTQuickColor");
        EXPECT_EQ(row.defaultChoice, "Auto");
    }
    EXPECT_EQ((*rows)[0].choiceKeyword, "Auto");
    EXPECT_EQ((*rows)[3].choiceKeyword, "UserDefined");
    EXPECT_EQ((*rows)[3].choiceText, "Custom");
}

// What the rules and presets assume of the sample PPD's choices.
struct ChoiceShape {
    const char* key;
    size_t minimumChoices;
    const char* firstChoice;  // null: not fixed
};
class SampleChoices : public ::testing::TestWithParam<ChoiceShape> {};

TEST_P(SampleChoices, MeetTheRulesAndPresets) {
    OpenPPD ppd(samplePPDPath());
    auto rows = rowsOf(ppd.get(), GetParam().key);
    ASSERT_TRUE(rows) << GetParam().key;
    EXPECT_GE(rows->size(), GetParam().minimumChoices) << GetParam().key;
    if (GetParam().firstChoice != nullptr) {
        EXPECT_EQ((*rows)[0].choiceKeyword, GetParam().firstChoice) << GetParam().key;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, SampleChoices,
    ::testing::Values(
        ChoiceShape{"ZTQuickColor", 4, nullptr}, ChoiceShape{"ZTEdgeType", 2, "Off"},
        ChoiceShape{"ZTImageRGBSource", 2, "None"}, ChoiceShape{"ZTTextRGBSource", 2, "None"},
        ChoiceShape{"ZTGraphicsRGBSource", 2, "None"}, ChoiceShape{"ZTSimSource", 1, "None"},
        ChoiceShape{"ZTImageDestinationProfile", 1, "Auto"},
        ChoiceShape{"ZTTextDestinationProfile", 1, "Auto"},
        ChoiceShape{"ZTGraphicsDestinationProfile", 1, "Auto"},
        ChoiceShape{"ZTImageHalftone", 3, nullptr}, ChoiceShape{"ZTTextHalftone", 3, nullptr},
        ChoiceShape{"ZTGraphicsHalftone", 3, nullptr},
        ChoiceShape{"ZTImageRenderIntent", 2, nullptr},
        ChoiceShape{"ZTTextGrayTreatment", 2, nullptr},
        ChoiceShape{"ZTGraphicsEdgeEnhance", 2, nullptr},
        ChoiceShape{"ZTSimRenderIntent", 1, nullptr}, ChoiceShape{"ZTColorAsGray", 2, "True"},
        ChoiceShape{"ZTColorSeparation", 2, "True"}, ChoiceShape{"ZTEconoMode", 2, "True"},
        ChoiceShape{"ZTAutoTrapping", 2, "True"}));

TEST(ChoiceRows, MissingOptionIsReportedAndLeavesTheArray) {
    OpenPPD ppd(dataPath("T48-partial.ppd"));
    ASSERT_NE(ppd.get(), nullptr) << ppd.error();
    ChoiceRows* rows = nullptr;
    EXPECT_EQ(PDECommon::commonGetPPDArrayForUIOption(ppd.get(), "ZTBrightness", rows),
              kPDEPPDOptionNotFound);
    EXPECT_EQ(rows, nullptr);

    ChoiceRows list;
    int16_t count = 0;
    EXPECT_EQ(PDECommon::commonGetUIListFromPPD(ppd.get(), "ZTSimSource", &list, count), kPDENoErr);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(PDECommon::commonGetUIListFromPPD(ppd.get(), "ZTEconoMode", &list, count), kPDENoErr);
    EXPECT_EQ(count, 2);
}

TEST(ChoiceRows, TextsAreConvertedFromEachPPDsEncoding) {
    OpenPPD utf8(dataPath("T48-utf8.ppd"));
    ASSERT_NE(utf8.get(), nullptr) << utf8.error();
    EXPECT_EQ(rowsOf(utf8.get(), "ZTSimSource")->at(3).choiceText, "ジャパンカラー");
    EXPECT_EQ(rowsOf(utf8.get(), "ZTEdgeType")->at(3).choiceText, "Stärker");

    OpenPPD latin1(dataPath("T48-partial.ppd"));
    EXPECT_EQ(rowsOf(latin1.get(), "ZTEdgeType")->at(1).choiceText, "Leicht (für Text)");
}

TEST(PopupMenu, ItemsAreTheChoiceTextsWithTheirKeywords) {
    OpenPPD ppd(dataPath("T48-utf8.ppd"));
    t48::ui::PopUpButton popup;
    popup.addItemWithTitle("stale");
    PDEControlItem item{&popup, kKindPopup, "ZTImageGrayTreatment", nullptr, nullptr, "",
                        0,      nullptr};
    PDECommon::commonReBuildMenuFromPPD(ppd.get(), &item);
    ASSERT_EQ(popup.numberOfItems(), 2);
    EXPECT_EQ(popup.itemTitleAtIndex(1), "Zusammengesetztes Schwarz (CMYK) – Ü");
    EXPECT_EQ(popup.keywordAtIndex(1), "CompositeBlack");

    // An option the PPD lacks, or a popup without a menu, leaves the popup as it was.
    PDEControlItem missing{&popup, kKindPopup, "ZTNoSuchOption", nullptr, nullptr, "", 0, nullptr};
    PDECommon::commonReBuildMenuFromPPD(ppd.get(), &missing);
    EXPECT_EQ(popup.numberOfItems(), 2);
    popup.setHasMenu(false);
    PDEControlItem other{&popup, kKindPopup, "ZTQuickColor", nullptr, nullptr, "", 0, nullptr};
    PDECommon::commonReBuildMenuFromPPD(ppd.get(), &other);
    EXPECT_EQ(popup.numberOfItems(), 2);
}

// The LanguageEncoding value, compared exactly, picks the character set.
struct EncodingCase {
    const char* languageEncoding;
    uint64_t stringEncoding;
    uint32_t cfEncoding;
};
class LanguageEncodingTable : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(LanguageEncodingTable, PicksTheCharacterSetInBothNumberings) {
    EXPECT_EQ(stringEncodingForLanguageEncoding(GetParam().languageEncoding),
              GetParam().stringEncoding);
    EXPECT_EQ(cfStringEncodingForLanguageEncoding(GetParam().languageEncoding),
              GetParam().cfEncoding);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LanguageEncodingTable,
    ::testing::Values(
        EncodingCase{"ISOLatin1", kStringEncodingISOLatin1, kCFStringEncodingISOLatin1},
        EncodingCase{"WindowsANSI", kStringEncodingWindowsCP1252, kCFStringEncodingWindowsLatin1},
        EncodingCase{"JIS83-RKSJ", kStringEncodingShiftJIS, kCFStringEncodingShiftJIS},
        EncodingCase{"UTF-8", kStringEncodingUTF8, kCFStringEncodingUTF8},
        EncodingCase{"UTF8", kStringEncodingUTF8, kCFStringEncodingUTF8},
        EncodingCase{"utf-8", kStringEncodingMacOSRoman, kCFStringEncodingMacRoman},
        EncodingCase{nullptr, kStringEncodingMacOSRoman, kCFStringEncodingMacRoman}));

TEST(LanguageEncoding, NoPPDIsMacOSRoman) {
    EXPECT_EQ(PDECommon::commonGetEncodingFromPPD(nullptr), kStringEncodingMacOSRoman);
    EXPECT_EQ(PDECommon::commonGetCFStringEncodingFromPPD(nullptr), kCFStringEncodingMacRoman);
}

// A real PPD in each encoding (null: no LanguageEncoding line): the choice row and the
// menu item show the PPD's text, once converted.
struct PPDTextCase {
    const char* languageEncoding;
    const char* bytes;
    const char* utf8;
};
class PPDText : public ::testing::TestWithParam<PPDTextCase> {};

TEST_P(PPDText, ReachesRowsAndMenusIntact) {
    std::ifstream in(samplePPDPath(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string ppdText = text.str();
    const std::string line = "*LanguageEncoding: ISOLatin1\n";
    ppdText.replace(ppdText.find(line), line.size(),
                    GetParam().languageEncoding != nullptr
                        ? std::string("*LanguageEncoding: ") + GetParam().languageEncoding + "\n"
                        : std::string());
    const std::string choice = "ZTBrightness Lighter/Lighter";
    ppdText.replace(ppdText.find(choice), choice.size(),
                    std::string("ZTBrightness Lighter/") + GetParam().bytes);
    TempDir dir;
    std::ofstream(dir.file("t.ppd"), std::ios::binary) << ppdText;
    OpenPPD ppd(dir.file("t.ppd"));
    ASSERT_NE(ppd.get(), nullptr) << ppd.error();
    EXPECT_EQ(rowsOf(ppd.get(), "ZTBrightness")->at(1).choiceText, GetParam().utf8);
    t48::ui::PopUpButton popup;
    PDEControlItem item{&popup, kKindPopup, "ZTBrightness", nullptr, nullptr, "", 0, nullptr};
    PDECommon::commonReBuildMenuFromPPD(ppd.get(), &item);
    ASSERT_EQ(popup.numberOfItems(), 3);
    EXPECT_EQ(popup.itemTitleAtIndex(1), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Encodings, PPDText,
                         ::testing::Values(PPDTextCase{"ISOLatin1", "Gr\xFCn", "Grün"},
                                           PPDTextCase{"WindowsANSI", "\x80 5", "€ 5"},
                                           PPDTextCase{"JIS83-RKSJ", "\x83\x4A\x83\x89\x81\x5B",
                                                       "カラー"},
                                           PPDTextCase{"UTF-8", "ジャパン", "ジャパン"},
                                           PPDTextCase{"UTF8", "ジャパン", "ジャパン"},
                                           PPDTextCase{nullptr, "Gr\xFCn", "Grün"}));

struct ConversionCase {
    const char* bytes;
    StringEncoding encoding;
    const char* utf8;
};
class TextConversion : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TextConversion, GivesUTF8) {
    EXPECT_EQ(stringFromEncoding(GetParam().bytes, GetParam().encoding), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, TextConversion,
    ::testing::Values(ConversionCase{"Gr\xFCn", kStringEncodingISOLatin1, "Grün"},
                      ConversionCase{"\x80 5", kStringEncodingWindowsCP1252, "€ 5"},
                      ConversionCase{"\x83\x4A\x83\x89\x81\x5B", kStringEncodingShiftJIS, "カラー"},
                      ConversionCase{"\x8A\x9A", kStringEncodingMacOSRoman, "äö"},
                      // Bytes that are not valid in the set are replaced, not dropped.
                      ConversionCase{"A\xFF"
                                     "B",
                                     kStringEncodingUTF8,
                                     "A\xEF\xBF\xBD"
                                     "B"},
                      ConversionCase{"Gr\xFCn", kStringEncodingASCII, "Gr?n"}));

}  // namespace
