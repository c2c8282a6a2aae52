// The window's buttons: the edit part, adding, editing, deleting, browsing for a file
// name, and confirming or abandoning an add or edit.

#include <algorithm>
#include <cstring>
#include <string>

#include "pde-bundle.hpp"
#include "profile-control.hpp"
#include "profile-window-data.hpp"
#include "system-paths.hpp"
#include "utf16-text.hpp"
#include "utf8-text.hpp"

namespace t48::pde {

using namespace window;

namespace {

void setEnabled(ui::Control* control, bool enabled) {
    if (control != nullptr) {
        control->setEnabled(enabled);
    }
}

// Replaces a 32-byte text field with `text`, cut to 31 bytes at a whole UTF-8
// character so that the field always ends in a terminator, the rest zero-filled.
void copyTextField(char (&field)[store::kProfileTextSize], const std::string& text) {
    const std::size_t length = text::wholeCharacterPrefix(text, store::kProfileTextSize - 1);
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.data(), length);
}

// The last component of a path, as the platform's path strings answer it: trailing
// slashes do not count, and "/" alone is its own last component.
std::string lastPathComponent(const std::string& path) {
    std::size_t end = path.find_last_not_of('/');
    if (end == std::string::npos) {
        return path.empty() ? std::string() : std::string("/");
    }
    const std::size_t slash = path.rfind('/', end);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(start, end + 1 - start);
}

bool hasAtMostOneDot(const std::u16string& name) {
    return std::count(name.begin(), name.end(), u'.') <= 1;
}

}  // namespace

void ProfileControl::vHandlingButtonSetDisable(bool add, bool edit, bool del) {
    setEnabled(_addButton, add);
    setEnabled(_editButton, edit);
    setEnabled(_deleteButton, del);
}

void ProfileControl::vProfileSettingsClearEditText() {
    if (_fileNameEdit != nullptr) {
        _fileNameEdit->setText(u"");
    }
    if (_profileNameEdit != nullptr) {
        _profileNameEdit->setText(u"");
    }
    if (_locationMenu != nullptr) {
        _locationMenu->selectItemAtIndex(kLocationItemDisk);
    }
}

void ProfileControl::vProfileSettingsAllDisablePart() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             _fileNameText, _profileNameText, _locationText, _fileNameEdit, _profileNameEdit,
             _locationMenu, _browse, _localCancel, _localOK}) {
        setEnabled(control, false);
    }
}

void ProfileControl::vProfileSettingsAllEnablePart() {
    for (ui::Control* control : std::initializer_list<ui::Control*>{
             _fileNameText, _profileNameText, _locationText, _fileNameEdit, _profileNameEdit,
             _locationMenu, _browse, _localCancel, _localOK}) {
        setEnabled(control, true);
    }
}

void ProfileControl::profileMenu(ui::Control&) {
    if (_profileTableView != nullptr) {
        _profileTableView->deselectAll();
    }
    vProfileSettingsClearEditText();
    vHandlingButtonSetDisable(true, false, false);
    if (_profileTableView != nullptr) {
        _profileTableView->reloadData();
    }
}

void ProfileControl::addButton(ui::Control&) {
    vProfileSettingsClearEditText();
    setEnabled(_profileMenu, false);
    vHandlingButtonSetDisable(false, false, false);
    vProfileSettingsAllEnablePart();
    // OK waits for a usable name from the field or the open panel.
    setEnabled(_localOK, false);
    buttonIdentify = kWindowAdding;
}

void ProfileControl::editButton(ui::Control&) {
    vHandlingButtonSetDisable(false, false, false);
    if (isCustomProfile()) {
        // The printer knows the entry by file name and location: only its display name
        // may change.
        for (ui::Control* control : std::initializer_list<ui::Control*>{
                 _profileNameText, _profileNameEdit, _localCancel, _localOK}) {
            setEnabled(control, true);
        }
    } else {
        vProfileSettingsAllEnablePart();
    }
    setEnabled(_profileMenu, false);
    buttonIdentify = kWindowEditing;
}

void ProfileControl::recordDeletion(const store::ProfileEntry& entry) {
    store::ProfileList* deleted = currentDeleteDict();
    if (!usesMapping() || deleted == nullptr || deleted->iNum < 0 ||
        deleted->iNum >= store::kProfileSlots) {
        return;  // a full deletion list records no more
    }
    deleted->litem[deleted->iNum++] = entry;
}

void ProfileControl::deleteButton(ui::Control&) {
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
    const int row = _profileTableView != nullptr ? _profileTableView->selectedRow() : -1;
    store::ProfileList* list = currentProfileDict();
    if (store::ProfileEntry* entry = entryAtRow(row); entry != nullptr && list != nullptr) {
        recordDeletion(*entry);
        const int count = std::min(list->iNum, store::kProfileSlots);
        std::copy(&list->litem[row + 1], &list->litem[count], &list->litem[row]);
        // The slot that fell free is marked empty; its other fields stay as they were.
        list->litem[count - 1].iInMenu = store::kStateEmpty;
        list->iNum = count - 1;
        _profileTableView->reloadData();
    }
    if (_profileTableView != nullptr && _profileTableView->selectedRow() != -1) {
        _profileTableView->deselectAll();
    }
}

void ProfileControl::browseButton(ui::Control&) {
    openPanel.setTitle(localizedString(kChooseFileKey).value_or(kChooseFileKey));
    if (openPanel.runModalForDirectory(systemPath(SystemPath::kProfilesFolder), "", {}) !=
        ui::OpenPanel::kOKButton) {
        return;
    }
    if (_fileNameEdit == nullptr) {
        return;
    }
    _fileNameEdit->setText(u"");
    setEnabled(_localOK, false);
    const std::u16string name = ui::utf16FromUtf8(lastPathComponent(openPanel.filename()));
    if (name.empty() || name.size() > static_cast<std::size_t>(kFileNameMaxLength)) {
        return;
    }
    const auto count = static_cast<int32_t>(name.size());
    for (int32_t index = 0; index < count;) {
        int32_t next = index + 1;
        if (!FilterEditTextInputKey(kKeyFilterFileName,
                                    UCFindComposedCharAtIndex(name.data(), count, index, &next))) {
            return;
        }
        index = next;
    }
    // The name must also have the shape the field itself allows (and the merge keeps):
    // one "." at most, a base of at most 27 and an extension of at most 3, no leading ".".
    if (!hasAtMostOneDot(name) || !_fileNameEdit->bFitsLimits(name) || name.front() == u'.') {
        return;
    }
    _fileNameEdit->setText(name);
    _fileNameEdit->setOldString(name);
    setEnabled(_localOK, true);
}

void ProfileControl::backToBrowsing() {
    vProfileSettingsClearEditText();
    setEnabled(_profileMenu, true);
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
}

void ProfileControl::profileOK(ui::Control&) {
    store::ProfileList* list = currentProfileDict();
    if (list == nullptr || _fileNameEdit == nullptr || _profileNameEdit == nullptr) {
        return;
    }
    const std::u16string& fileName = _fileNameEdit->text();
    const int item = _locationMenu != nullptr ? _locationMenu->indexOfSelectedItem() : 0;
    const int32_t location = item != kLocationItemDisk ? kLocationCard : kLocationDisk;
    if (fileName.empty() || fileName.front() == u'.') {
        return;
    }
    // Compared as it would be stored.
    store::ProfileEntry candidate{};
    copyTextField(candidate.FileName, ui::utf8FromUtf16(fileName));
    copyTextField(candidate.ProfileName, _profileNameEdit->stringValue());

    const bool editing = buttonIdentify == kWindowEditing;
    const int selected = _profileTableView != nullptr ? _profileTableView->selectedRow() : -1;
    const int rows = std::min(list->iNum, store::kProfileSlots);
    for (int row = 0; row < rows; ++row) {
        if (editing && row == selected) {
            continue;
        }
        const store::ProfileEntry& other = list->litem[row];
        if (std::strncmp(other.FileName, candidate.FileName, store::kProfileTextSize) == 0 &&
            other.iLocation == location) {
            return;  // the same file on the same location is listed already
        }
    }

    store::ProfileEntry* target = nullptr;
    bool nameAndLocation = true;
    int slot = -1;
    if (editing) {
        target = entryAtRow(selected);
        if (target == nullptr) {
            return;
        }
        recordDeletion(*target);
        nameAndLocation = target->iInMenu == store::kStateUserAdded ||
                          target->iInMenu == store::kStateUserAddedListed;
    } else {
        for (int i = 0; i < store::kProfileSlots && slot < 0; ++i) {
            if (list->litem[i].iInMenu == store::kStateEmpty) {
                slot = i;
            }
        }
        if (slot < 0) {
            return;
        }
        target = &list->litem[slot];
    }
    if (nameAndLocation) {
        std::memcpy(target->FileName, candidate.FileName, sizeof target->FileName);
        target->iLocation = location;
    }
    std::memcpy(target->ProfileName, candidate.ProfileName, sizeof target->ProfileName);
    if (!editing) {
        target->iIndexOnDevice = slot + kAddedIndexOffset;
        target->iInMenu = store::kStateUserAddedListed;
        target->iProfileClass = kAddedProfileClass;
        target->iDriver = kAddedDriverAvail;
        ++list->iNum;
    }
    backToBrowsing();
    if (_profileTableView != nullptr) {
        _profileTableView->reloadData();
        _profileTableView->deselectAll();
    }
    buttonIdentify = kWindowBrowsing;
}

void ProfileControl::profileCancel(ui::Control&) {
    vProfileSettingsClearEditText();
    if (_profileTableView != nullptr) {
        _profileTableView->deselectAll();
    }
    setEnabled(_profileMenu, true);
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
    buttonIdentify = kWindowBrowsing;
}

}  // namespace t48::pde
