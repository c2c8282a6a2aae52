#pragma once
// The two panes' controls as headless controls, laid out in their control tables and in
// the combined table (Color Options records, then Advanced Color Options records, then
// the terminator). Popups carry items in PPD order, so index 0 of an RGB source popup is
// "None", of a destination profile popup "Auto", of EdgeType "Off", and Quick Color item
// 3 is "Custom".

#include <memory>
#include <string>
#include <vector>

#include "controls.hpp"
#include "pde-control-item.hpp"

namespace t48::pde::testing {

class CombinedPanel {
public:
    CombinedPanel();
    CombinedPanel(const CombinedPanel&) = delete;
    CombinedPanel& operator=(const CombinedPanel&) = delete;

    const PDEControlItem* colorTable() const { return colorTable_.data(); }
    const PDEControlItem* advancedTable() const { return advancedTable_.data(); }
    const PDEControlItem* combinedTable() const { return combinedTable_.data(); }
    const std::vector<PDEControlItem>& combinedRecords() const { return combinedTable_; }

    // The record of the combined table whose controlName, or else ppdKey, is `key`.
    const PDEControlItem& record(const std::string& key) const;
    ui::PopUpButton& popup(const std::string& key) const;
    ui::CheckBox& checkBox(const std::string& key) const;
    ui::Control& control(const std::string& key) const;

private:
    template <typename T>
    T* make();
    void add(std::vector<PDEControlItem>& table, ui::Control* control, int32_t kind,
             const char* ppdKey, const char* titleKey, const char* summaryKey,
             const char* controlName, int16_t profileClass);

    std::vector<std::unique_ptr<ui::Control>> controls_;
    std::vector<PDEControlItem> colorTable_;
    std::vector<PDEControlItem> advancedTable_;
    std::vector<PDEControlItem> combinedTable_;
};

}  // namespace t48::pde::testing
