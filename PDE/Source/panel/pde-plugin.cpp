#include "pde-plugin.hpp"

#include <new>

#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "profile-store.hpp"

namespace t48::pde {

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
    ppd_ = pdePluginCallbackObject_ != nullptr ? pdePluginCallbackObject_->ppdFile() : nullptr;

    painChange_->setPMPrintEachView(setting_, session_);
    painChange_->setPPDFileEachView(ppd_);
    painChange_->creatPDEControlTableEachView();

    PDEControlItem* tables[5] = {};
    const int16_t count = painChange_->getControlDataEachView(tables, 5);
    compTable_ = PDECommon::commonControlTableCompound(tables, count);

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
    myLoad();
    if (store::ZTPListIsAdminProfile() == 1) {
        PDECommon::commonGetProfilesFromMIB(session_);
    }
    return pdeMainView_;
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
    // The constraint rules over compTable are not part of this build yet.
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
    // The Quick Color presets are not part of this build yet: the advanced pane is
    // written as it stands.
    if (onAdvancedView_ != nullptr && setting_ != nullptr && session_ != nullptr) {
        onAdvancedView_->setControlValueToTicket();
    }
    return true;
}

void PDEPlugInInterface::PPDOptionKeyValueDidChange(const std::string&, const std::string&) {}

void PDEPlugInInterface::terminate() {
    pdePluginCallbackObject_ = nullptr;
}

std::vector<PDENamedControl> PDEPlugInInterface::interfaceControls() {
    return interface_ ? interface_->controls : std::vector<PDENamedControl>{};
}

// Sent by the Quick Color popup; the constraint rules over the Color Options table
// are not part of this build yet.
void PDEPlugInInterface::selectItem(ui::Control&) {}

// Sent by every other option control; the constraint rules over compTable are not
// part of this build yet.
void PDEPlugInInterface::constraints(ui::Control&) {}

}  // namespace t48::pde
