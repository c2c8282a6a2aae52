// The window's life: opening, reading the three lists, saving and closing.

#include "profile-control.hpp"

#include <cstring>

#include "advanced-color-options.hpp"
#include "constraint-engine.hpp"
#include "device-address.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "profile-store.hpp"
#include "profile-window-data.hpp"

namespace t48::pde {

using namespace window;

void ProfileControl::setConstTable(PDEControlItem* table) {
    constTable = table;
    constTableCount = 0;
    while (table != nullptr && table[constTableCount].control != nullptr) {
        ++constTableCount;
    }
}

bool ProfileControl::usesMapping() const {
    return protocolType == kProtocolPAP || protocolType == kProtocolUSB;
}

void ProfileControl::showProfileManagementWindow(ui::Control&) {
    if (_profileManagementWindow == nullptr || _profileManagementWindow->isModal()) {
        return;
    }
    initWithProfileControl();
    _profileManagementWindow->setTitle(localizedString(kTitleKey).value_or(kTitleKey));
    ui::Window* shown = _profileManagementWindow;
    // Centred after each run, so that it opens centred the next time.
    shown->runModal([shown] { shown->center(); });
}

void ProfileControl::fillLocationMenu() {
    // The lookup answers the key itself for a missing translation; it answers nothing
    // only without the bundle, and then the popup stays as the definition made it.
    const auto disk = localizedString(kDiskKey);
    const auto card = localizedString(kCardKey);
    if (_locationMenu == nullptr || !disk || !card) {
        return;
    }
    _locationMenu->removeAllItems();
    _locationMenu->addItemWithTitle(*disk);
    _locationMenu->addItemWithTitle(*card);
}

void ProfileControl::setUpColumns() {
    if (_profileTableView == nullptr) {
        return;
    }
    if (ui::TableColumn* icon = _profileTableView->tableColumnWithIdentifier(kColumnIcon)) {
        icon->setDataCell(std::make_unique<IconedCell>());
    }
    for (const char* identifier : {kColumnFileName, kColumnProfileName, kColumnLocation}) {
        ui::TableColumn* column = _profileTableView->tableColumnWithIdentifier(identifier);
        if (column != nullptr && column->dataCell() != nullptr) {
            column->dataCell()->setFont(ui::Font::systemFontOfSize(12));
        }
    }
}

void ProfileControl::readLists() {
    for (store::ProfileList* list : {&plistRGBDict, &plistSIMDict, &plistDSTDict, &plistRGBDelete,
                                     &plistSIMDDelete, &plistDSTDelete}) {
        std::memset(list, 0, sizeof *list);
    }
    if (waitingForRefresh_) {
        return;  // read when the refresh has ended
    }
    const auto read =
        usesMapping() ? store::ZTPListReadProfile_Dict_Pap : store::ZTPListReadProfile_Dict;
    read(&plistRGBDict, store::kClassRGB);
    read(&plistSIMDict, store::kClassSIM);
    read(&plistDSTDict, store::kClassDST);
}

void ProfileControl::initWithProfileControl() {
    buttonIdentify = kWindowBrowsing;
    if (onAdvancedView != nullptr) {
        onAdvancedView->setControlValueToTicket();
    }
    protocolType = PDECommon::commoniGetProtocol(session);
    fillLocationMenu();
    setUpColumns();
    if (_profileMenu != nullptr) {
        _profileMenu->setEnabled(true);
        _profileMenu->selectItemAtIndex(store::kClassRGB);
    }
    vProfileSettingsClearEditText();
    if (_fileNameEdit != nullptr) {
        _fileNameEdit->setMaxLength(kFileNameMaxLength, kFileNameMaxExtension);
        _fileNameEdit->setInputKey(kKeyFilterFileName);
        _fileNameEdit->setOperateControl(_localOK);
    }
    if (_profileNameEdit != nullptr) {
        _profileNameEdit->setMaxLength(kProfileNameMaxLength, 0);
        _profileNameEdit->setInputKey(kKeyFilterAscii);
        _profileNameEdit->setOperateControl(nullptr);
    }
    vHandlingButtonSetDisable(true, false, false);
    if (_profileTableView != nullptr) {
        _profileTableView->setFont(ui::Font::userFontOfSize(9));
    }
    vProfileSettingsAllDisablePart();
    waitingForRefresh_ = profileRefreshRunning;
    readLists();
    if (_profileTableView != nullptr) {
        _profileTableView->reloadData();
        _profileTableView->deselectAll();
    }
    showWaiting(waitingForRefresh_);
}

void ProfileControl::showWaiting(bool waiting) {
    if (_waitingText != nullptr) {
        _waitingText->setStringValue(waiting ? localizedString(kWaitingKey).value_or(kWaitingKey)
                                             : std::string());
    }
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             _profileMenu, _addButton, _profileTableView, _profileWindowOK}) {
        if (control != nullptr) {
            control->setEnabled(!waiting);
        }
    }
}

void ProfileControl::setProfileRefreshRunning(bool running) {
    profileRefreshRunning = running;
    if (running || !waitingForRefresh_) {
        return;
    }
    waitingForRefresh_ = false;
    if (_profileManagementWindow == nullptr || !_profileManagementWindow->isModal()) {
        return;
    }
    readLists();
    if (_profileTableView != nullptr) {
        _profileTableView->reloadData();
        _profileTableView->deselectAll();
    }
    showWaiting(false);
}

void ProfileControl::profileWindowOK(ui::Control*) {
    // The advanced popups' values are kept before the save, while the file still holds
    // the profiles their items were made from: without a current printer the ticket has
    // no values to give them back after the rebuild.
    const cf::ValueRef kept =
        onAdvancedView != nullptr ? onAdvancedView->keepControlValues() : nullptr;
    // A failed save is not reported; the menus are rebuilt from what the file holds.
    if (usesMapping()) {
        store::ZTPListWriteProfile_All_Pap(&plistRGBDict, &plistSIMDict, &plistDSTDict,
                                           &plistRGBDelete, &plistSIMDDelete, &plistDSTDelete);
    } else {
        store::ZTPListWriteProfile_All(&plistRGBDict, &plistSIMDict, &plistDSTDict);
    }
    if (onAdvancedView != nullptr) {
        onAdvancedView->createPDEItemForPPDKey();
        onAdvancedView->restoreControlValues(kept);
        onAdvancedView->getControlValueFromTicket();
    }
    if (constTable != nullptr) {
        vColorPresetConstraints(constTable);
    }
    if (_profileManagementWindow != nullptr) {
        _profileManagementWindow->stopModal();
        _profileManagementWindow->orderOut();
    }
}

void ProfileControl::profileWindowCancel(ui::Control*) {
    // The lists in memory are read again at the next opening.
    if (_profileManagementWindow != nullptr) {
        _profileManagementWindow->stopModal();
        _profileManagementWindow->orderOut();
    }
}

std::vector<PDENamedControl> ProfileControl::windowControls() {
    const PDENamedControl all[] = {
        {"_addButton", _addButton},
        {"_browse", _browse},
        {"_deleteButton", _deleteButton},
        {"_editButton", _editButton},
        {"_fileNameEdit", _fileNameEdit},
        {"_fileNameText", _fileNameText},
        {"_localCancel", _localCancel},
        {"_localOK", _localOK},
        {"_locationMenu", _locationMenu},
        {"_locationText", _locationText},
        {"_profileNameEdit", _profileNameEdit},
        {"_profileNameText", _profileNameText},
        {"_profileMenu", _profileMenu},
    };
    std::vector<PDENamedControl> controls;
    for (const PDENamedControl& named : all) {
        if (named.control != nullptr) {
            controls.push_back(named);
        }
    }
    return controls;
}

}  // namespace t48::pde
