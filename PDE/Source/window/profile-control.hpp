#pragma once
// The profile management window's controller: lists the three stored profile lists
// (RGB, SIM, DST) of the user's profile file in a table, lets the user tick, rename,
// add and delete entries in memory, and writes the lists back only on the window's OK.

#include <cstdint>

#include "iconed-cell.hpp"
#include "pde-control-item.hpp"
#include "pde-protocol.hpp"
#include "print-settings.hpp"
#include "profile-list.hpp"
#include "zt-text-field.hpp"

namespace t48::pde {

class AdvancedColorOptions;

// buttonIdentify.
inline constexpr int32_t kWindowBrowsing = 0;
inline constexpr int32_t kWindowAdding = 1;
inline constexpr int32_t kWindowEditing = 2;

class ProfileControl : public ui::TableDataSource,
                       public ui::TableDelegate,
                       public PDEWindowProtocol {
public:
    void setPMPrint(cf::PrintSettings* printSettings, cf::PrintSession* printSession) {
        setting = printSettings;
        session = printSession;
    }
    // The combined table, terminator last; the rules run over it after saving.
    void setConstTable(PDEControlItem* table);

    // Window life.
    void showProfileManagementWindow(ui::Control& sender);
    void initWithProfileControl();
    void profileWindowOK(ui::Control* sender);
    void profileWindowCancel(ui::Control* sender);
    // A refresh of the profile file runs elsewhere: a window opened meanwhile shows that it
    // waits for it and offers only its Cancel, then reads the lists once it has ended.
    void setProfileRefreshRunning(bool running);

    // Table data source and delegate.
    int numberOfRowsInTableView(ui::TableView& table) override;
    ui::ObjectValue objectValueForTableColumn(ui::TableView& table, ui::TableColumn& column,
                                              int row) override;
    void setObjectValue(ui::TableView& table, const ui::ObjectValue& value, ui::TableColumn& column,
                        int row) override;
    bool selectionShouldChangeInTableView(ui::TableView& table) override;
    bool shouldSelectRow(ui::TableView& table, int row) override;
    void tableViewSelectionDidChange(ui::TableView& table) override;

    // Buttons and the edit part.
    void vHandlingButtonSetDisable(bool add, bool edit, bool del);
    void vProfileSettingsClearEditText();
    void vProfileSettingsAllDisablePart();
    void vProfileSettingsAllEnablePart();
    store::ProfileList* currentProfileDict();
    bool isCustomProfile();

    // Actions.
    void profileMenu(ui::Control& sender);
    void addButton(ui::Control& sender);
    void editButton(ui::Control& sender);
    void deleteButton(ui::Control& sender);
    void browseButton(ui::Control& sender);
    void profileOK(ui::Control& sender);
    void profileCancel(ui::Control& sender);

    // PDEWindowProtocol, for a host without a window system.
    ui::Window* window() override { return _profileManagementWindow; }
    std::vector<PDENamedControl> windowControls() override;
    ui::TableView* windowTable() override { return _profileTableView; }
    ui::OpenPanel* windowOpenPanel() override { return &openPanel; }
    int32_t windowMode() override { return buttonIdentify; }
    void windowOK() override { profileWindowOK(nullptr); }
    void windowCancel() override { profileWindowCancel(nullptr); }

    cf::PrintSettings* setting = nullptr;
    cf::PrintSession* session = nullptr;
    int16_t protocolType = -1;
    PDEControlItem* constTable = nullptr;
    int16_t constTableCount = 0;
    ui::Window* _profileManagementWindow = nullptr;
    AdvancedColorOptions* onAdvancedView = nullptr;
    ui::PushButton* _addButton = nullptr;
    ui::PushButton* _browse = nullptr;
    ui::PushButton* _deleteButton = nullptr;
    ui::PushButton* _editButton = nullptr;
    ui::Box* _editGroupBox = nullptr;
    ZTTextField* _fileNameEdit = nullptr;
    ui::Label* _fileNameText = nullptr;
    ui::PushButton* _localCancel = nullptr;
    ui::PushButton* _localOK = nullptr;
    ui::PopUpButton* _locationMenu = nullptr;
    ui::Label* _locationText = nullptr;
    ZTTextField* _profileNameEdit = nullptr;
    ui::Label* _profileNameText = nullptr;
    ui::TableView* _profileTableView = nullptr;
    ui::PopUpButton* _profileMenu = nullptr;
    // The window's own OK and Cancel, and the line that says it waits for a refresh.
    ui::PushButton* _profileWindowOK = nullptr;
    ui::PushButton* _profileWindowCancel = nullptr;
    ui::Label* _waitingText = nullptr;
    int32_t buttonIdentify = kWindowBrowsing;
    bool profileRefreshRunning = false;
    store::ProfileList plistRGBDict{};
    store::ProfileList plistSIMDict{};
    store::ProfileList plistDSTDict{};
    store::ProfileList plistRGBDelete{};
    store::ProfileList plistSIMDDelete{};
    store::ProfileList plistDSTDelete{};
    // The application's open panel, as the browse button runs it.
    ui::OpenPanel openPanel;

private:
    bool usesMapping() const;
    store::ProfileList* currentDeleteDict();
    // The entry of `row` in the shown list; null when there is none.
    store::ProfileEntry* entryAtRow(int row);
    void recordDeletion(const store::ProfileEntry& entry);
    void readLists();
    void showWaiting(bool waiting);
    void setUpColumns();
    void fillLocationMenu();
    void backToBrowsing();

    // The window opened during a refresh and has not read the lists yet.
    bool waitingForRefresh_ = false;
};

}  // namespace t48::pde
