#include "pde-pane.hpp"

#include <algorithm>
#include <new>

#include "added-profile.hpp"
#include "pde-common.hpp"

namespace t48::pde {

PDEPane::~PDEPane() {
    deallocPDEControlTable();
}

void PDEPane::createPDEControlTable() {
    deallocPDEControlTable();
    const std::vector<PDEControlItem> records = layoutControlTable();
    ctrlCount_ = static_cast<int16_t>(records.size());
    ctrlTable_ = new (std::nothrow) PDEControlItem[records.size()];
    if (ctrlTable_ == nullptr) {
        return;
    }
    std::copy(records.begin(), records.end(), ctrlTable_);
    for (PDEControlItem* item = ctrlTable_; item->control != nullptr; ++item) {
        item->choices = nullptr;
        if (item->ppdKey[0] != '\0') {
            PDECommon::commonGetPPDArrayForUIOption(ppd_, item->ppdKey, item->choices);
        }
    }
}

void PDEPane::deallocPDEControlTable() {
    if (ctrlTable_ == nullptr) {
        return;
    }
    for (PDEControlItem* item = ctrlTable_; item->control != nullptr; ++item) {
        if (item->ppdKey[0] != '\0' && item->choices != nullptr) {
            delete item->choices;
            item->choices = nullptr;
        }
    }
    releaseMenuProfileLists(ctrlTable_);
    delete[] ctrlTable_;
    ctrlTable_ = nullptr;
}

void PDEPane::addPPDArray(std::vector<std::string>* array) const {
    if (ctrlTable_ != nullptr) {
        PDECommon::commonAddPPDArray(array, ctrlTable_);
    }
}

void PDEPane::createPDEItemForPPDKey() {
    PDECommon::commonBuildPDEItem(ctrlTable_, ppd_);
}

void PDEPane::setControlValueToTicket() {
    PDECommon::commonSyncTicketFromPane(setting_, session_, ctrlTable_);
}

void PDEPane::getControlValueFromTicket() {
    PDECommon::commonSyncPaneFromTicket(setting_, session_, ctrlTable_);
}

cf::ValueRef PDEPane::keepControlValues() const {
    cf::ValueRef kept = cf::Value::dictionary();
    PDECommon::commonStorePaneInDictionary(kept.get(), ctrlTable_);
    return kept;
}

void PDEPane::restoreControlValues(const cf::ValueRef& kept) {
    PDECommon::commonSetPaneFromDictionary(kept.get(), ctrlTable_);
}

void PDEPane::getSummaryText(cf::Value* summaryDict, cf::Value* order) const {
    if (ctrlTable_ != nullptr) {
        PDECommon::commonGetSummaryText(ctrlTable_, summaryDict, order);
    }
}

void PDEPane::defaultFromPPDInfo() {
    PDECommon::commonDefaultFromPPDInfo(ctrlTable_);
}

}  // namespace t48::pde
