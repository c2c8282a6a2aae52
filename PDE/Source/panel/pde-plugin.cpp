#include "pde-plugin.hpp"

#include <new>

#include "constraint-engine.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "profile-refresh.hpp"

namespace t48::pde {
namespace {

// The summary of a panel without views; null only when not even that can be had.
cf::ValueRef emptySummary() noexcept {
    try {
        cf::ValueRef summary = cf::Value::dictionary();
        summary->set(kPDESummaryDisplayOrder, cf::Value::array());
        return summary;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

bool PDEPlugIn::initWithBundle(const std::string& bundlePath) {
    holdPluginBundle(bundle::Bundle::forLibraryPath(bundlePath));
    return true;
}

std::optional<PDEPanelList> PDEPlugIn::PDEPanelsForType(const std::string& type,
                                                        PDEHostCallback* callback) {
    if (type != kPDEPanelTypeID) {
        return std::nullopt;
    }
    try {
        PDEPanelList panels;
        panels.push_back(std::make_unique<PDEPlugInInterface>(callback));
        return panels;
    } catch (const std::bad_alloc&) {
        return std::nullopt;  // no exception reaches the host
    }
}

PDEPlugInInterface::PDEPlugInInterface(PDEHostCallback* callback)
    : pdePluginCallbackObject_(callback) {
    if (callback != nullptr) {
        setting_ = callback->printSettings();
        session_ = callback->printSession();
        profileStore_ = callback->hasProfileStore();
    }
}

PDEPlugInInterface::~PDEPlugInInterface() {
    if (painChange_ != nullptr) {
        painChange_->deallocPDEControlTableEachView();
    }
    delete[] compTable_;
}

std::string PDEPlugInInterface::panelName() {
    return localizedString(kPDEPanelNameKey).value_or(kPDEPanelNameKey);
}

std::string PDEPlugInInterface::panelKind() {
    return kPDEPanelKind;
}

void PDEPlugInInterface::myLoad() {
    if (pdeMainView_ != nullptr) {
        return;
    }
    std::unique_ptr<PDEMainObjects> objects = loadPDEMain(*this);
    if (!objects) {
        return;
    }
    interface_ = std::move(objects);
    pdeMainView_ = interface_->mainView;
    onColorView_ = interface_->colorView;
    onAdvancedView_ = interface_->advancedView;
    painChange_ = interface_->painChange.get();
    profileControl_ = interface_->profileControl.get();
    ppd_ = pdePluginCallbackObject_ != nullptr ? pdePluginCallbackObject_->ppdFile() : nullptr;

    onAdvancedView_->setProfileStore(profileStore_);
    painChange_->setPMPrintEachView(setting_, session_);
    painChange_->setPPDFileEachView(ppd_);
    painChange_->creatPDEControlTableEachView();

    PDEControlItem* tables[5] = {};
    const int16_t count = painChange_->getControlDataEachView(tables, 5);
    compTable_ = PDECommon::commonControlTableCompound(tables, count);
    if (profileControl_ != nullptr) {
        profileControl_->setPMPrint(setting_, session_);
        profileControl_->setConstTable(compTable_);
    }

    painChange_->createPDEItemForPPDKeyEachView();
}

std::vector<std::string> PDEPlugInInterface::supportedPPDOptionKeys() {
    myLoad();
    std::vector<std::string> keys;
    if (painChange_ != nullptr) {
        try {
            painChange_->addPPDArrayEachView(&keys);
        } catch (const std::bad_alloc&) {
            keys.clear();
        }
    }
    return keys;
}

ui::View* PDEPlugInInterface::panelView() {
    PDEProfileRefresh refresh;
    ui::View* view = panelViewLeavingRefresh(refresh);
    if (refresh) {
        refresh();
    }
    return view;
}

ui::View* PDEPlugInInterface::panelViewLeavingRefresh(PDEProfileRefresh& refresh) {
    myLoad();
    // A host without a profile store (a filter, printing for no user) has nothing to refresh.
    refresh = profileStore_ ? profileRefreshOfSession(session_) : PDEProfileRefresh{};
    return pdeMainView_;
}

void PDEPlugInInterface::setProfileRefreshRunning(bool running) {
    if (profileControl_ != nullptr) {
        profileControl_->setProfileRefreshRunning(running);
    }
}

void PDEPlugInInterface::willShow() {
    if (painChange_ != nullptr) {
        painChange_->ShowAdvancedToColorView();
    }
}

bool PDEPlugInInterface::shouldHide() {
    return true;
}

bool PDEPlugInInterface::restoreValuesAndReturnError(int32_t*) {
    if (pdeMainView_ == nullptr) {
        myLoad();
    }
    if (onColorView_ != nullptr && onAdvancedView_ != nullptr) {
        painChange_->defaultFromPPDInfoEachView();
    }
    if (setting_ != nullptr && session_ != nullptr && painChange_ != nullptr) {
        painChange_->getControlValueFromTickettEachView();
    }
    if (pdeMainView_ != nullptr) {
        vColorPresetConstraints(compTable_);
    }
    return true;
}

bool PDEPlugInInterface::saveValuesAndReturnError(int32_t*) {
    if (onColorView_ != nullptr && onAdvancedView_ != nullptr && setting_ != nullptr &&
        session_ != nullptr) {
        painChange_->setControlValueToTicketEachView();
    }
    return true;
}

bool PDEPlugInInterface::shouldPrint() {
    if (painChange_ == nullptr || onAdvancedView_ == nullptr) {
        return true;
    }
    // The job carries the preset's advanced values; the Color Options values stay as
    // the last save wrote them.
    painChange_->changeAdvancedItemAccodingQuickColor();
    if (setting_ != nullptr && session_ != nullptr) {
        onAdvancedView_->setControlValueToTicket();
    }
    return true;
}

cf::ValueRef PDEPlugInInterface::summaryInfo() {
    myLoad();
    try {
        cf::ValueRef summary = cf::Value::dictionary();
        cf::ValueRef order = cf::Value::array();
        if (onColorView_ != nullptr && onAdvancedView_ != nullptr) {
            painChange_->getSummaryTextEachView(summary.get(), order.get());
        }
        summary->set(kPDESummaryDisplayOrder, order);
        return summary;
    } catch (const std::bad_alloc&) {
        // No exception reaches the host: without memory the answer is the empty order.
        return emptySummary();
    }
}

void PDEPlugInInterface::PPDOptionKeyValueDidChange(const std::string&, const std::string&) {}

void PDEPlugInInterface::terminate() {
    pdePluginCallbackObject_ = nullptr;
}

std::vector<PDENamedControl> PDEPlugInInterface::interfaceControls() {
    return interface_ ? interface_->controls : std::vector<PDENamedControl>{};
}

PDEWindowProtocol* PDEPlugInInterface::modalWindow() {
    if (profileControl_ == nullptr || profileControl_->window() == nullptr ||
        !profileControl_->window()->isModal()) {
        return nullptr;
    }
    return profileControl_;
}

// Sent by the Quick Color popup, whose only rule acts within the Color Options pane.
void PDEPlugInInterface::selectItem(ui::Control&) {
    if (onColorView_ != nullptr) {
        vColorPresetConstraints(onColorView_->getControlData());
    }
}

// Sent by every other option control.
void PDEPlugInInterface::constraints(ui::Control&) {
    vColorPresetConstraints(compTable_);
}

}  // namespace t48::pde
