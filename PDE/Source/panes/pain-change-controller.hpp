#pragma once
// Swaps the two panes in the container view, and drives both panes: each pane
// operation is sent to both by one operation ending in EachView, Advanced Color
// Options first (Color Options first only for the PPD defaults).

#include <string>
#include <vector>

#include "advanced-color-options.hpp"
#include "color-options.hpp"

namespace t48::pde {

class PainChangeController {
public:
    void creatPDEControlTableEachView();
    void deallocPDEControlTableEachView();
    void setPPDFileEachView(ppd_file_s* ppd);
    void setPMPrintEachView(cf::PrintSettings* setting, cf::PrintSession* session);
    void createPDEItemForPPDKeyEachView();
    void addPPDArrayEachView(std::vector<std::string>* array);
    void defaultFromPPDInfoEachView();
    void getControlValueFromTickettEachView();
    void setControlValueToTicketEachView();
    // Clears the first `capacity` entries, then puts the Color table in entry 0 and the
    // Advanced table in entry 1; returns 2 (0 when capacity is below 2).
    int16_t getControlDataEachView(PDEControlItem** tables, int16_t capacity);
    int16_t getControlCountEachView() const;

    // The summary: the Color Options entries, then the advanced entries of the Quick
    // Color preset (indexes 0-2), the advanced pane's own (3, "Custom") or none.
    void getSummaryTextEachView(cf::Value* summaryDict, cf::Value* order) const;
    // The Color pane's Quick Color index and EconoMode state handed to the Advanced
    // pane's preset operations.
    void changeAdvancedItemAccodingQuickColor();
    void getSummaryAdvancedItemAccodingQuickColor(cf::Value* summaryDict, cf::Value* order) const;

    // Actions of the two pane-switching buttons: swap only to a pane with a table.
    void ColorToAdvancedView(ui::Control& sender);
    void AdvancedToColorView(ui::Control& sender);
    void SHowColorToAdvancedView();
    void ShowAdvancedToColorView();

    // Set by the interface definition.
    ColorOptions* onColorView = nullptr;
    AdvancedColorOptions* onAdvancedView = nullptr;
    ui::View* onMainCustomView = nullptr;

private:
    void showPane(PDEPane* shown, PDEPane* hidden);
    // The panes in the order of every two-pane pass but the defaults.
    std::vector<PDEPane*> advancedThenColor() const;
};

}  // namespace t48::pde
