// The window's table: its data source and delegate over the list the class popup shows.

#include <algorithm>
#include <cstring>
#include <string>

#include "added-profile.hpp"
#include "device-address.hpp"
#include "pde-bundle.hpp"
#include "profile-control.hpp"
#include "profile-window-data.hpp"
#include "system-paths.hpp"
#include "utf16-text.hpp"
#include "utf8-text.hpp"

namespace t48::pde {

using namespace window;

namespace {

bool isConfirmedOnPrinter(int32_t state) {
    return state == store::kStatePrinterConfirmed || state == store::kStatePrinterConfirmedListed;
}

// A 32-byte text field as text; empty when it is not valid UTF-8.
std::string fieldText(const char (&field)[store::kProfileTextSize]) {
    std::string text(field, strnlen(field, sizeof field));
    return text::isValidUtf8(text) ? text : std::string();
}

std::string localizedOrKey(const char* key) {
    return localizedString(key).value_or(key);
}

}  // namespace

store::ProfileList* ProfileControl::currentProfileDict() {
    switch (_profileMenu != nullptr ? _profileMenu->indexOfSelectedItem() : -1) {
        case store::kClassRGB:
            return &plistRGBDict;
        case store::kClassSIM:
            return &plistSIMDict;
        case store::kClassDST:
            return &plistDSTDict;
        default:
            return nullptr;
    }
}

store::ProfileList* ProfileControl::currentDeleteDict() {
    switch (_profileMenu != nullptr ? _profileMenu->indexOfSelectedItem() : -1) {
        case store::kClassRGB:
            return &plistRGBDelete;
        case store::kClassSIM:
            return &plistSIMDDelete;
        case store::kClassDST:
            return &plistDSTDelete;
        default:
            return nullptr;
    }
}

store::ProfileEntry* ProfileControl::entryAtRow(int row) {
    store::ProfileList* list = currentProfileDict();
    if (list == nullptr || row < 0 || row >= std::min(list->iNum, store::kProfileSlots)) {
        return nullptr;
    }
    return &list->litem[row];
}

int ProfileControl::numberOfRowsInTableView(ui::TableView&) {
    const store::ProfileList* list = currentProfileDict();
    return list != nullptr ? std::clamp(list->iNum, 0, store::kProfileSlots) : 0;
}

ui::ObjectValue ProfileControl::objectValueForTableColumn(ui::TableView&, ui::TableColumn& column,
                                                          int row) {
    const std::string& identifier = column.identifier();
    if (identifier == kColumnIcon && column.dataCell() != nullptr) {
        column.dataCell()->setImage(nullptr);
    }
    const store::ProfileEntry* entry = entryAtRow(row);
    if (entry == nullptr) {
        return std::string();
    }
    if (identifier == kColumnInMenu) {
        auto box = std::make_unique<ui::ButtonCell>();
        box->setTitle("");
        column.setDataCell(std::move(box));
        return isListedProfileState(entry->iInMenu) ? 1 : 0;
    }
    if (identifier == kColumnIcon) {
        const bool walked = protocolType == kProtocolLPD || protocolType == kProtocolBonjour;
        if (walked && isConfirmedOnPrinter(entry->iInMenu) && column.dataCell() != nullptr) {
            column.dataCell()->setImage(
                ui::Image::imageWithContentsOfFile(systemPath(SystemPath::kPrinterIcon)));
        }
        return std::string();
    }
    if (identifier == kColumnFileName) {
        return fieldText(entry->FileName);
    }
    if (identifier == kColumnProfileName) {
        return fieldText(entry->ProfileName);
    }
    if (identifier == kColumnLocation) {
        return entry->iLocation == kLocationCard   ? localizedOrKey(kCardKey)
               : entry->iLocation == kLocationDisk ? localizedOrKey(kDiskKey)
                                                   : std::string();
    }
    return std::string();
}

void ProfileControl::setObjectValue(ui::TableView&, const ui::ObjectValue&, ui::TableColumn& column,
                                    int row) {
    store::ProfileEntry* entry = entryAtRow(row);
    if (entry == nullptr || column.identifier() != kColumnInMenu) {
        return;
    }
    // The click toggles whatever the box showed; the value passed in is not needed.
    for (const StateToggle& toggle : kInMenuToggles) {
        if (entry->iInMenu == toggle.from) {
            entry->iInMenu = toggle.to;
            return;
        }
    }
}

bool ProfileControl::selectionShouldChangeInTableView(ui::TableView&) {
    return buttonIdentify == kWindowBrowsing;
}

bool ProfileControl::shouldSelectRow(ui::TableView&, int row) {
    if (buttonIdentify == kWindowBrowsing) {
        vHandlingButtonSetDisable(true, true, true);
    }
    const store::ProfileEntry* entry = entryAtRow(row);
    if (entry == nullptr) {
        return true;
    }
    // Entries confirmed on the printer may be renamed but not deleted.
    if (isConfirmedOnPrinter(entry->iInMenu)) {
        vHandlingButtonSetDisable(true, true, false);
    }
    if (_fileNameEdit != nullptr) {
        _fileNameEdit->setStringValue(fieldText(entry->FileName));
    }
    if (_profileNameEdit != nullptr) {
        _profileNameEdit->setStringValue(fieldText(entry->ProfileName));
    }
    if (_locationMenu != nullptr) {
        if (entry->iLocation == kLocationCard) {
            _locationMenu->selectItemAtIndex(kLocationItemCard);
        } else if (entry->iLocation == kLocationDisk) {
            _locationMenu->selectItemAtIndex(kLocationItemDisk);
        }
    }
    return true;
}

void ProfileControl::tableViewSelectionDidChange(ui::TableView& table) {
    if (table.selectedRow() != -1) {
        return;
    }
    if (buttonIdentify == kWindowBrowsing) {
        vHandlingButtonSetDisable(true, false, false);
    }
    vProfileSettingsClearEditText();
}

bool ProfileControl::isCustomProfile() {
    const store::ProfileEntry* entry =
        entryAtRow(_profileTableView != nullptr ? _profileTableView->selectedRow() : -1);
    return entry != nullptr && entry->iInMenu >= store::kStatePrinterUnconfirmed &&
           entry->iInMenu <= store::kStatePrinterConfirmedListed;
}

}  // namespace t48::pde
