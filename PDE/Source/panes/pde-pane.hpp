#pragma once
// What both panes offer: a view holding one control table, the PPD, the print settings
// and the session handed to it, and thin operations that pass the table to PDECommon.

#include <cstdint>
#include <string>
#include <vector>

#include "controls.hpp"
#include "pde-control-item.hpp"
#include "print-settings.hpp"

struct ppd_file_s;

namespace t48::pde {

// One row of a pane's control table as data: `outlet` reads the control from the pane.
// The profile class follows from ppdKey (profileClassOf).
template <class Pane>
struct PaneRow {
    ui::Control* (*outlet)(const Pane& pane);
    int32_t kind;
    const char* ppdKey;
    const char* titleKey;
    const char* summaryKey;
    const char* controlName;
};

class PDEPane : public ui::View {
public:
    ~PDEPane() override;

    void setPPDFile(ppd_file_s* ppd) { ppd_ = ppd; }
    void setPMPrint(cf::PrintSettings* setting, cf::PrintSession* session) {
        setting_ = setting;
        session_ = session;
    }
    void setViewBounds(const ui::Rect& rect) { setBounds({0, 0, rect.width, rect.height}); }

    // Builds the table from the pane's rows and the PPD's choices; ctrlTable stays null
    // when no storage can be had.
    virtual void createPDEControlTable();
    // Frees the table and its choices; ctrlCount keeps its value.
    void deallocPDEControlTable();
    PDEControlItem* getControlData() const { return ctrlTable_; }
    int16_t getControlCount() const { return ctrlCount_; }

    void addPPDArray(std::vector<std::string>* array) const;
    virtual void createPDEItemForPPDKey();
    void setControlValueToTicket();
    void getControlValueFromTicket();
    // The pane's values, kept in a dictionary while its menus are rebuilt, and put back.
    cf::ValueRef keepControlValues() const;
    void restoreControlValues(const cf::ValueRef& kept);
    void defaultFromPPDInfo();
    // The pane's summary entries added to `summaryDict` and `order` (commonGetSummaryText).
    void getSummaryText(cf::Value* summaryDict, cf::Value* order) const;

protected:
    // The pane's records in declaration order, terminator last, controls read from the
    // outlets now.
    virtual std::vector<PDEControlItem> layoutControlTable() const = 0;

    template <class Pane, size_t N>
    static std::vector<PDEControlItem> layoutRows(const Pane& pane,
                                                  const PaneRow<Pane> (&rows)[N]) {
        std::vector<PDEControlItem> records;
        records.reserve(N + 1);
        for (const PaneRow<Pane>& row : rows) {
            records.push_back({row.outlet(pane), row.kind, row.ppdKey, row.titleKey, row.summaryKey,
                               row.controlName, profileClassOf(row.ppdKey), nullptr});
        }
        records.push_back(kTerminatorItem);
        return records;
    }

    ppd_file_s* ppd_ = nullptr;
    PDEControlItem* ctrlTable_ = nullptr;
    int16_t ctrlCount_ = 0;
    cf::PrintSettings* setting_ = nullptr;
    cf::PrintSession* session_ = nullptr;
};

}  // namespace t48::pde
