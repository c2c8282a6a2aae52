#pragma once
// The Quick Color presets: for each of the three ready-made Quick Color choices, the item
// each of the 21 Advanced Color Options popups is set to (and summarised with), and the
// items EconoMode overrides. The rows are in the order in which the popups are set and
// summarised, which is also their order in the Advanced Color Options table.

#include <cstdint>

namespace t48::pde {

inline constexpr int16_t kQuickColorPresetCount = 3;  // Quick Color items 0-2
inline constexpr int16_t kQuickColorCustom = 3;       // "Custom": the advanced values stand
inline constexpr int kQuickColorPresetRowCount = 21;

struct QuickColorPresetRow {
    const char* summaryKey;  // the popup's summaryKey in the Advanced Color Options table
    const char* ppdKey;      // the popup's PPD option
    // 0-based item index per Quick Color preset, with EconoMode off [0] and on [1].
    int16_t item[2][kQuickColorPresetCount];
};

extern const QuickColorPresetRow kQuickColorPresetRows[kQuickColorPresetRowCount];

// True for the Quick Color indexes that stand for a preset (0, 1, 2); false for "Custom",
// for no selection (-1) and for anything else.
bool quickColorIsPreset(int16_t quickColor);

// The item that preset `quickColor` selects in row `row` with EconoMode `econoMode`
// (0 off, non-zero on); -1 when `quickColor` is no preset or `row` is outside the table.
int16_t quickColorPresetItem(int row, int16_t quickColor, int16_t econoMode);

// The row of the popup with this summaryKey (or PPD option), or -1.
int quickColorPresetRowForSummaryKey(const char* summaryKey);
int quickColorPresetRowForPPDKey(const char* ppdKey);

}  // namespace t48::pde
