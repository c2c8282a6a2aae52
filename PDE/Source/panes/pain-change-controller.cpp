#include "pain-change-controller.hpp"

namespace t48::pde {

std::vector<PDEPane*> PainChangeController::advancedThenColor() const {
    std::vector<PDEPane*> panes;
    if (onAdvancedView != nullptr) {
        panes.push_back(onAdvancedView);
    }
    if (onColorView != nullptr) {
        panes.push_back(onColorView);
    }
    return panes;
}

void PainChangeController::creatPDEControlTableEachView() {
    for (PDEPane* pane : advancedThenColor()) {
        pane->createPDEControlTable();
    }
}

void PainChangeController::deallocPDEControlTableEachView() {
    for (PDEPane* pane : advancedThenColor()) {
        pane->deallocPDEControlTable();
    }
}

void PainChangeController::setPPDFileEachView(ppd_file_s* ppd) {
    for (PDEPane* pane : advancedThenColor()) {
        pane->setPPDFile(ppd);
    }
}

void PainChangeController::setPMPrintEachView(cf::PrintSettings* setting,
                                              cf::PrintSession* session) {
    for (PDEPane* pane : advancedThenColor()) {
        pane->setPMPrint(setting, session);
    }
}

void PainChangeController::createPDEItemForPPDKeyEachView() {
    for (PDEPane* pane : advancedThenColor()) {
        pane->createPDEItemForPPDKey();
    }
}

void PainChangeController::addPPDArrayEachView(std::vector<std::string>* array) {
    for (PDEPane* pane : advancedThenColor()) {
        pane->addPPDArray(array);
    }
}

void PainChangeController::defaultFromPPDInfoEachView() {
    if (onColorView != nullptr) {
        onColorView->defaultFromPPDInfo();
    }
    if (onAdvancedView != nullptr) {
        onAdvancedView->defaultFromPPDInfo();
    }
}

void PainChangeController::getControlValueFromTickettEachView() {
    for (PDEPane* pane : advancedThenColor()) {
        pane->getControlValueFromTicket();
    }
}

void PainChangeController::setControlValueToTicketEachView() {
    for (PDEPane* pane : advancedThenColor()) {
        pane->setControlValueToTicket();
    }
}

int16_t PainChangeController::getControlDataEachView(PDEControlItem** tables, int16_t capacity) {
    if (tables == nullptr || capacity < 2) {
        return 0;
    }
    for (int16_t i = 0; i < capacity; ++i) {
        tables[i] = nullptr;
    }
    tables[0] = onColorView != nullptr ? onColorView->getControlData() : nullptr;
    tables[1] = onAdvancedView != nullptr ? onAdvancedView->getControlData() : nullptr;
    return 2;
}

int16_t PainChangeController::getControlCountEachView() const {
    int16_t count = 0;
    for (const PDEPane* pane : advancedThenColor()) {
        count = static_cast<int16_t>(count + pane->getControlCount());
    }
    return count;
}

void PainChangeController::ColorToAdvancedView(ui::Control&) {
    if (onAdvancedView != nullptr && onAdvancedView->getControlData() != nullptr) {
        SHowColorToAdvancedView();
    }
}

void PainChangeController::AdvancedToColorView(ui::Control&) {
    if (onColorView != nullptr && onColorView->getControlData() != nullptr) {
        ShowAdvancedToColorView();
    }
}

void PainChangeController::SHowColorToAdvancedView() {
    showPane(onAdvancedView, onColorView);
}

void PainChangeController::ShowAdvancedToColorView() {
    showPane(onColorView, onAdvancedView);
}

void PainChangeController::showPane(PDEPane* shown, PDEPane* hidden) {
    if (shown == nullptr) {
        return;
    }
    const ui::Rect bounds = onMainCustomView != nullptr ? onMainCustomView->bounds() : ui::Rect{};
    shown->setViewBounds(bounds);
    if (onMainCustomView == nullptr) {
        return;
    }
    onMainCustomView->addSubview(shown);
    if (hidden != nullptr && hidden->superview() == onMainCustomView) {
        onMainCustomView->replaceSubview(hidden, shown);
    }
}

}  // namespace t48::pde
