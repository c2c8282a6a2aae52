#pragma once
// Shared work on controls, the PPD and the ticket: class operations without state.

#include <cstdint>

#include "pde-control-item.hpp"

namespace t48::pde {

class PDECommon {
public:
    // Raw control value: a popup's selected index (-1 when none), a check box's state;
    // 0 for any other kind and for a null record.
    static int32_t commonGetControlValueWithSInt32(const PDEControlItem* item);
    // Sets a check box's state, or selects popup item `value` when it is below the item
    // count (-1 clears the selection, an index at or past the end changes nothing).
    static void commonSetControlValueWithSInt32(const PDEControlItem* item, int32_t value);
    // Control value -> rule value: a popup's index + 1 (0 when nothing is selected).
    static int32_t commonConvertToCSTValue(const PDEControlItem* item, int32_t value);
    // Rule value -> control value: a popup's rule value - 1 (0 for values below 1).
    static int32_t commonConvertFromCSTValue(const PDEControlItem* item, int32_t value);
};

}  // namespace t48::pde
