#pragma once
// One record per control of a pane: the control, its kind, the PPD option it is bound
// to and the names under which titles, the summary and the constraint rules find it.
// A pane keeps its records in one contiguous table ended by a terminator record.

#include <cstdint>
#include <string>
#include <vector>

#include "controls.hpp"
#include "printer-profile-mark.hpp"
#include "profile-options.hpp"

namespace t48::pde {

enum ControlKind : int32_t {
    kKindEndOfTable = 1032,
    kKindLabel = 1034,
    kKindPopup = 1035,
    kKindCheckBox = 1036,
    kKindPushButton = 1039,
    kKindTabView = 1040,
};

// One choice of the bound PPD option, converted from the PPD's text encoding.
struct ChoiceRow {
    std::string optionKeyword;
    std::string defaultChoice;
    std::string choiceKeyword;
    std::string choiceText;
};
// The rows of the choices a control offers, in PPD order, and the option's choices that
// the PPD marks as profiles stored on the printer: those are no rows (the profile popups
// offer them as the user's stored profiles).
struct ChoiceRows : std::vector<ChoiceRow> {
    using std::vector<ChoiceRow>::vector;
    std::vector<PrinterProfileChoice> printerProfiles;
};

struct PDEControlItem {
    ui::Control* control;     // null in the terminator
    int32_t kind;             // ControlKind
    const char* ppdKey;       // "" when bound to no PPD option; never null
    const char* titleKey;     // localized-string key of the title, or null
    const char* summaryKey;   // localized-string key of the summary name, or null
    const char* controlName;  // name the constraint rules use; "" when none
    int16_t profileClass;     // ControlProfileClass
    ChoiceRows* choices;      // owned by the pane table's record; null when unbound
};

// The terminator record that ends every control table.
inline constexpr PDEControlItem kTerminatorItem = {
    nullptr, kKindEndOfTable, "", nullptr, nullptr, "", kNoProfileClass, nullptr};

}  // namespace t48::pde
