// The Quick Color preset mapping, read through its lookups against the advanced popups.
#include <gtest/gtest.h>

#include <string>

#include "combined-panel.hpp"
#include "quick-color-presets.hpp"

namespace t48::pde {
namespace {

int rowOf(const char* summaryKey) {
    const int row = quickColorPresetRowForSummaryKey(summaryKey);
    EXPECT_GE(row, 0) << summaryKey;
    return row;
}

bool isA(int row, const char* kind) {
    return std::string(kQuickColorPresetRows[row].summaryKey).find(kind) != std::string::npos;
}

TEST(QuickColorPresets, RowsFollowTheAdvancedPopupsInTableOrder) {
    testing::CombinedPanel panel;
    const PDEControlItem* advanced = panel.advancedTable();
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        EXPECT_STREQ(kQuickColorPresetRows[row].summaryKey, advanced[row].summaryKey);
        EXPECT_STREQ(kQuickColorPresetRows[row].ppdKey, advanced[row].ppdKey);
        EXPECT_EQ(quickColorPresetRowForPPDKey(advanced[row].ppdKey), row);
        EXPECT_EQ(quickColorPresetRowForSummaryKey(advanced[row].summaryKey), row);
    }
    EXPECT_EQ(quickColorPresetRowForSummaryKey("Brightness"), -1);
    EXPECT_EQ(quickColorPresetRowForPPDKey(nullptr), -1);
}

class PresetColumnTest : public ::testing::TestWithParam<int16_t> {};

TEST_P(PresetColumnTest, EveryPresetUsesAnRGBSourceAutoDestinationAndNoSimulation) {
    const int16_t q = GetParam();
    for (int16_t e : {0, 1}) {
        for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
            const int16_t item = quickColorPresetItem(row, q, e);
            if (isA(row, "RGB Source")) {
                EXPECT_EQ(item, 1) << kQuickColorPresetRows[row].summaryKey;
            } else if (isA(row, "Destination") || row >= 18) {
                EXPECT_EQ(item, 0) << kQuickColorPresetRows[row].summaryKey;
            }
            // Halftones need three choices, the other options two.
            EXPECT_LE(item, isA(row, "Halftone") ? 2 : 1) << kQuickColorPresetRows[row].summaryKey;
            EXPECT_GE(item, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Presets, PresetColumnTest, ::testing::Values(0, 1, 2));

TEST(QuickColorPresets, PresetOneSetsEverythingToItsFirstChoiceButSourcesAndHalftones) {
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        const int expected = isA(row, "RGB Source") || isA(row, "Halftone") ? 1 : 0;
        EXPECT_EQ(quickColorPresetItem(row, 1, 0), expected)
            << kQuickColorPresetRows[row].summaryKey;
    }
}

TEST(QuickColorPresets, PresetsZeroAndTwoDifferInFourPopups) {
    const int imageIntent = rowOf("Image RGB Intent"), imageHalftone = rowOf("Image Halftone"),
              imageEdge = rowOf("Image EdgeEnhance"), graphicsHalftone = rowOf("Graphics Halftone");
    EXPECT_EQ(quickColorPresetItem(imageIntent, 0, 0), 0);
    EXPECT_EQ(quickColorPresetItem(imageIntent, 2, 0), 1);
    EXPECT_EQ(quickColorPresetItem(imageHalftone, 0, 0), 1);
    EXPECT_EQ(quickColorPresetItem(imageHalftone, 2, 0), 2);
    EXPECT_EQ(quickColorPresetItem(imageEdge, 0, 0), 0);
    EXPECT_EQ(quickColorPresetItem(imageEdge, 2, 0), 1);
    EXPECT_EQ(quickColorPresetItem(graphicsHalftone, 0, 0), 1);
    EXPECT_EQ(quickColorPresetItem(graphicsHalftone, 2, 0), 2);
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        if (row != imageIntent && row != imageHalftone && row != imageEdge &&
            row != graphicsHalftone) {
            EXPECT_EQ(quickColorPresetItem(row, 0, 0), quickColorPresetItem(row, 2, 0))
                << kQuickColorPresetRows[row].summaryKey;
        }
    }
    EXPECT_EQ(quickColorPresetItem(rowOf("Text Halftone"), 0, 0), 2);
}

struct EconoCase {
    int16_t q;
    const char* changedRows[2];  // rows that EconoMode turns to item 0
};

class EconoModeTest : public ::testing::TestWithParam<EconoCase> {};

TEST_P(EconoModeTest, EconoModeZeroesOnlyItsEdgeEnhanceRows) {
    const EconoCase& c = GetParam();
    for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
        const char* key = kQuickColorPresetRows[row].summaryKey;
        const bool changed = (c.changedRows[0] && std::string(key) == c.changedRows[0]) ||
                             (c.changedRows[1] && std::string(key) == c.changedRows[1]);
        const int16_t off = quickColorPresetItem(row, c.q, 0);
        const int16_t on = quickColorPresetItem(row, c.q, 1);
        if (changed) {
            EXPECT_NE(off, 0) << key;
            EXPECT_EQ(on, 0) << key;
        } else {
            EXPECT_EQ(on, off) << key;
        }
        EXPECT_EQ(quickColorPresetItem(row, c.q, -3), on) << "any non-zero state is on";
    }
}

INSTANTIATE_TEST_SUITE_P(Presets, EconoModeTest,
                         ::testing::Values(EconoCase{0, {"Graphics EdgeEnhance", nullptr}},
                                           EconoCase{1, {nullptr, nullptr}},
                                           EconoCase{
                                               2, {"Image EdgeEnhance", "Graphics EdgeEnhance"}}));

TEST(QuickColorPresets, CustomNoSelectionAndOtherIndexesSelectNothing) {
    for (int16_t q : {kQuickColorCustom, int16_t{-1}, int16_t{4}, int16_t{-32768}}) {
        EXPECT_FALSE(quickColorIsPreset(q)) << q;
        for (int row = 0; row < kQuickColorPresetRowCount; ++row) {
            EXPECT_EQ(quickColorPresetItem(row, q, 0), -1) << q;
            EXPECT_EQ(quickColorPresetItem(row, q, 1), -1) << q;
        }
    }
    EXPECT_EQ(quickColorPresetItem(-1, 0, 0), -1);
    EXPECT_EQ(quickColorPresetItem(kQuickColorPresetRowCount, 0, 0), -1);
}

}  // namespace
}  // namespace t48::pde
