// The profile management window driven as a user drives it, over real profile files.

#include "window-fixture.hpp"

namespace t48::pde::testing {
namespace {

using store::kClassDST;
using store::kClassRGB;
using store::kClassSIM;

TEST_F(ProfileWindowTest, OpensOnTheRgbListWithNothingSelected) {
    Lists lists;
    lists.add(kClassRGB, entry(2, "A.ICC"));
    lists.add(kClassRGB, entry(6, "B.ICC", 5));
    lists.add(kClassSIM, entry(5, "S.ICC"));
    start(lists);
    open();
    EXPECT_EQ(control_->_profileMenu->indexOfSelectedItem(), kClassRGB);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(table().selectedRow(), -1);
    EXPECT_EQ(buttons(), "Aed");
    EXPECT_EQ(control_->buttonIdentify, kWindowBrowsing);
    EXPECT_FALSE(control_->_fileNameEdit->isEnabled());
    EXPECT_FALSE(control_->_localOK->isEnabled());
    EXPECT_EQ(control_->_locationMenu->numberOfItems(), 2);
    EXPECT_EQ(shownRow(0), "[icon]|0|A.ICC|Shown Name|Disk|");
    EXPECT_EQ(shownRow(1), "[]|1|B.ICC|Shown Name|Card|");
    EXPECT_EQ(control_->_profileManagementWindow->title(), "ProfileTitle");
    EXPECT_EQ(table().font(), ui::Font::userFontOfSize(9));
    for (const char* column : {"filename", "profilename", "location"}) {
        EXPECT_EQ(table().tableColumnWithIdentifier(column)->dataCell()->font(),
                  ui::Font::systemFontOfSize(12))
            << column;
    }
    EXPECT_EQ(control_->_fileNameEdit->maxLen, 31);
    EXPECT_EQ(control_->_fileNameEdit->operateOutlet, control_->_localOK);
    EXPECT_EQ(control_->_profileNameEdit->inputkey, kKeyFilterAscii);
    chooseClass(kClassSIM);
    EXPECT_EQ(rows(), 1);
    chooseClass(kClassDST);
    EXPECT_EQ(rows(), 0);
}

TEST_F(ProfileWindowTest, TicksToggleStatesAndOkWritesThem) {
    Lists lists;
    lists.add(kClassRGB, entry(2, "A.ICC"));
    lists.add(kClassRGB, entry(6, "B.ICC"));
    lists.add(kClassRGB, entry(1, "C.ICC"));
    start(lists);
    open();
    tick(0);
    tick(1);
    tick(2);
    EXPECT_EQ(control_->plistRGBDict.litem[0].iInMenu, 4);
    EXPECT_EQ(control_->plistRGBDict.litem[1].iInMenu, 5);
    EXPECT_EQ(control_->plistRGBDict.litem[2].iInMenu, 3);
    EXPECT_EQ(shownRow(0).substr(0, 9), "[icon]|1|");
    panel_->modalWindow()->windowOK();
    EXPECT_EQ(panel_->modalWindow(), nullptr);
    Lists saved = readFile();
    EXPECT_EQ(saved[kClassRGB].litem[0].iInMenu, 4);
    EXPECT_EQ(saved[kClassRGB].litem[1].iInMenu, 5);
    EXPECT_EQ(saved[kClassRGB].litem[2].iInMenu, 3);
}

TEST_F(ProfileWindowTest, ConfirmedRowMayBeRenamedButNotDeleted) {
    Lists lists;
    lists.add(kClassRGB, entry(4, "PRINTER.ICC", 5, "Old"));
    start(lists);
    open();
    ASSERT_TRUE(select(0));
    EXPECT_EQ(buttons(), "AEd");
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "PRINTER.ICC");
    EXPECT_EQ(control_->_locationMenu->indexOfSelectedItem(), window::kLocationItemCard);
    click(control_->_editButton);
    EXPECT_EQ(control_->buttonIdentify, kWindowEditing);
    EXPECT_TRUE(control_->_profileNameEdit->isEnabled());
    EXPECT_TRUE(control_->_localOK->isEnabled());
    EXPECT_FALSE(control_->_fileNameEdit->isEnabled());
    EXPECT_FALSE(control_->_locationMenu->isEnabled());
    EXPECT_FALSE(control_->_browse->isEnabled());
    EXPECT_FALSE(control_->_profileMenu->isEnabled());
    EXPECT_FALSE(select(-1)) << "the selection is frozen while editing";
    clear(control_->_profileNameEdit);
    type(control_->_profileNameEdit, u"New Name");
    click(control_->_localOK);
    EXPECT_EQ(control_->buttonIdentify, kWindowBrowsing);
    EXPECT_EQ(table().selectedRow(), -1);
    const ProfileEntry& edited = control_->plistRGBDict.litem[0];
    EXPECT_STREQ(edited.ProfileName, "New Name");
    EXPECT_STREQ(edited.FileName, "PRINTER.ICC");
    EXPECT_EQ(edited.iLocation, 5);
    EXPECT_EQ(edited.iInMenu, 4);
}

TEST_F(ProfileWindowTest, UserRowMayBeEditedWhole) {
    Lists lists;
    lists.add(kClassRGB, entry(5, "MINE.ICC", 4, "Mine"));
    start(lists, "usb://T48?serial=1");
    open();
    ASSERT_TRUE(select(0));
    EXPECT_EQ(buttons(), "AED");
    click(control_->_editButton);
    EXPECT_TRUE(control_->_fileNameEdit->isEnabled());
    EXPECT_TRUE(control_->_locationMenu->isEnabled());
    clear(control_->_fileNameEdit);
    type(control_->_fileNameEdit, u"OTHER.ICM");
    chooseLocation(window::kLocationItemCard);
    click(control_->_localOK);
    const ProfileEntry& edited = control_->plistRGBDict.litem[0];
    EXPECT_STREQ(edited.FileName, "OTHER.ICM");
    EXPECT_EQ(edited.iLocation, 5);
    // The queue is never walked: the entry's former form is recorded.
    ASSERT_EQ(control_->plistRGBDelete.iNum, 1);
    EXPECT_STREQ(control_->plistRGBDelete.litem[0].FileName, "MINE.ICC");
    EXPECT_EQ(control_->plistRGBDelete.litem[0].iLocation, 4);
}

TEST_F(ProfileWindowTest, AddingToTheSimListFillsTheNewEntry) {
    Lists lists;
    lists.add(kClassSIM, entry(5, "FIRST.ICC"));
    lists.add(kClassSIM, entry(2, "SECOND.ICC"));
    start(lists);
    open();
    chooseClass(kClassSIM);
    click(control_->_addButton);
    EXPECT_EQ(control_->buttonIdentify, kWindowAdding);
    EXPECT_EQ(buttons(), "aed");
    EXPECT_FALSE(control_->_profileMenu->isEnabled());
    EXPECT_FALSE(control_->_localOK->isEnabled()) << "no name yet";
    type(control_->_fileNameEdit, u"PROFILE2.ICC");
    type(control_->_profileNameEdit, u"Second profile");
    chooseLocation(window::kLocationItemCard);
    EXPECT_TRUE(control_->_localOK->isEnabled());
    click(control_->_localOK);
    ASSERT_EQ(control_->plistSIMDict.iNum, 3);
    const ProfileEntry& added = control_->plistSIMDict.litem[2];
    EXPECT_STREQ(added.FileName, "PROFILE2.ICC");
    EXPECT_STREQ(added.ProfileName, "Second profile");
    EXPECT_EQ(added.iIndexOnDevice, 2 + 500);
    EXPECT_EQ(added.iInMenu, 6);
    EXPECT_EQ(added.iProfileClass, 2);
    EXPECT_EQ(added.iLocation, 5);
    EXPECT_EQ(added.iDriver, 3);
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(buttons(), "Aed");
    EXPECT_TRUE(control_->_profileMenu->isEnabled());
    panel_->modalWindow()->windowOK();
    Lists saved = readFile();
    ASSERT_EQ(saved[kClassSIM].iNum, 3);
    EXPECT_STREQ(saved[kClassSIM].litem[2].FileName, "PROFILE2.ICC");
    EXPECT_EQ(saved[kClassSIM].litem[2].iIndexOnDevice, 502);
}

TEST_F(ProfileWindowTest, DuplicateOfNameAndLocationIsRefusedOtherLocationAccepted) {
    Lists lists;
    lists.add(kClassRGB, entry(5, "SAME.ICC", 4));
    start(lists);
    open();
    click(control_->_addButton);
    type(control_->_fileNameEdit, u"SAME.ICC");
    chooseLocation(window::kLocationItemDisk);
    click(control_->_localOK);
    EXPECT_EQ(control_->plistRGBDict.iNum, 1);
    EXPECT_EQ(control_->buttonIdentify, kWindowAdding) << "a refusal keeps the mode";
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "SAME.ICC") << "and the text";
    chooseLocation(window::kLocationItemCard);
    click(control_->_localOK);
    ASSERT_EQ(control_->plistRGBDict.iNum, 2);
    EXPECT_EQ(control_->plistRGBDict.litem[1].iLocation, 5);
}

TEST_F(ProfileWindowTest, EditingMayKeepItsOwnNameAndLocation) {
    Lists lists;
    lists.add(kClassRGB, entry(6, "KEEP.ICC", 4, "Before"));
    start(lists);
    open();
    ASSERT_TRUE(select(0));
    click(control_->_editButton);
    clear(control_->_profileNameEdit);
    type(control_->_profileNameEdit, u"After");
    click(control_->_localOK);
    EXPECT_STREQ(control_->plistRGBDict.litem[0].ProfileName, "After");
    EXPECT_EQ(control_->plistRGBDelete.iNum, 0) << "an LPD queue records no deletions";
}

TEST_F(ProfileWindowTest, DeletingTheFirstOfThreeRowsPacksTheList) {
    Lists lists;
    lists.add(kClassDST, entry(5, "ONE.ICC"));
    lists.add(kClassDST, entry(6, "TWO.ICC"));
    lists.add(kClassDST, entry(3, "THREE.ICC"));
    start(lists);
    open();
    chooseClass(kClassDST);
    ASSERT_TRUE(select(0));
    click(control_->_deleteButton);
    const ProfileList& list = control_->plistDSTDict;
    EXPECT_EQ(list.iNum, 2);
    EXPECT_STREQ(list.litem[0].FileName, "TWO.ICC");
    EXPECT_STREQ(list.litem[1].FileName, "THREE.ICC");
    EXPECT_EQ(list.litem[2].iInMenu, 0);
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(table().selectedRow(), -1);
    EXPECT_EQ(buttons(), "Aed");
    EXPECT_EQ(control_->plistDSTDelete.iNum, 0);
}

TEST_F(ProfileWindowTest, OpenPanelNamesThatDoNotFitLeaveTheFieldEmpty) {
    Lists lists;
    start(lists);
    open();
    click(control_->_addButton);
    const std::string folder = t48::systemPath(t48::SystemPath::kProfilesFolder);
    for (const std::string& refused :
         {folder + "/" + std::string(32, 'P'), folder + "/TWO.DOTS.ICC", folder + "/SPACE X.ICC",
          folder + "/" + std::string(28, 'B'), folder + "/.HIDDEN", std::string("/")}) {
        type(control_->_fileNameEdit, u"KEPT");
        browse(refused);
        EXPECT_EQ(control_->_fileNameEdit->stringValue(), "") << refused;
        EXPECT_FALSE(control_->_localOK->isEnabled()) << refused;
    }
    EXPECT_EQ(control_->openPanel.directory(), folder);
    browse(folder + "/GOOD.ICC");
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "GOOD.ICC");
    EXPECT_TRUE(control_->_localOK->isEnabled());
    browse(std::nullopt);
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "GOOD.ICC") << "a cancelled panel";
    // The chosen name is the field's last accepted text: an overlong edit goes back to it.
    type(control_->_fileNameEdit, u"X");
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "GOOD.ICC");
}

TEST_F(ProfileWindowTest, WindowCancelDiscardsEveryChange) {
    Lists lists;
    lists.add(kClassRGB, entry(2, "A.ICC"));
    lists.add(kClassRGB, entry(5, "B.ICC"));
    start(lists);
    open();
    tick(0);
    ASSERT_TRUE(select(1));
    click(control_->_deleteButton);
    click(control_->_addButton);
    type(control_->_fileNameEdit, u"NEW.ICC");
    click(control_->_localOK);
    panel_->modalWindow()->windowCancel();
    EXPECT_EQ(panel_->modalWindow(), nullptr);
    EXPECT_EQ(control_->_profileManagementWindow->centerCount(), 1);
    Lists saved = readFile();
    ASSERT_EQ(saved[kClassRGB].iNum, 2);
    EXPECT_EQ(saved[kClassRGB].litem[0].iInMenu, 2);
    EXPECT_STREQ(saved[kClassRGB].litem[1].FileName, "B.ICC");
    open();
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(control_->plistRGBDict.litem[0].iInMenu, 2);
}

TEST_F(ProfileWindowTest, UsbQueueSavesConfirmedEntriesTheWindowNeverShowed) {
    Lists lists;
    lists.add(kClassRGB, entry(4, "LISTED.ICC", 4));
    lists.add(kClassRGB, entry(2, "HIDDEN.ICC", 4));
    lists.add(kClassRGB, entry(6, "USER.ICC", 5));
    lists.add(kClassRGB, entry(5, "GONE.ICC", 5));
    start(lists, "usb://T48?serial=1");
    open();
    ASSERT_EQ(rows(), 3) << "the state-2 entry is hidden";
    EXPECT_EQ(shownRow(0), "[]|1|LISTED.ICC|Shown Name|Disk|") << "no icon for a USB queue";
    ASSERT_TRUE(select(2));
    click(control_->_deleteButton);
    ASSERT_EQ(control_->plistRGBDelete.iNum, 1);
    EXPECT_STREQ(control_->plistRGBDelete.litem[0].FileName, "GONE.ICC");
    panel_->modalWindow()->windowOK();
    Lists saved = readFile();
    ASSERT_EQ(saved[kClassRGB].iNum, 3);
    EXPECT_STREQ(saved[kClassRGB].litem[0].FileName, "HIDDEN.ICC");
    EXPECT_EQ(saved[kClassRGB].litem[0].iInMenu, 2);
    EXPECT_STREQ(saved[kClassRGB].litem[1].FileName, "LISTED.ICC");
    EXPECT_EQ(saved[kClassRGB].litem[1].iInMenu, 6);
    EXPECT_STREQ(saved[kClassRGB].litem[2].FileName, "USER.ICC");
}

TEST_F(ProfileWindowTest, AddingIsRefusedWhenNoSlotIsFree) {
    Lists lists;
    for (int i = 0; i < store::kProfileSlots; ++i) {
        lists.add(kClassRGB, entry(5, ("F" + std::to_string(i) + ".ICC").c_str()));
    }
    start(lists);
    open();
    ASSERT_EQ(rows(), store::kProfileSlots);
    click(control_->_addButton);
    type(control_->_fileNameEdit, u"NEW.ICC");
    click(control_->_localOK);
    EXPECT_EQ(control_->plistRGBDict.iNum, store::kProfileSlots);
    EXPECT_EQ(control_->buttonIdentify, kWindowAdding);
    click(control_->_localCancel);
    EXPECT_EQ(control_->buttonIdentify, kWindowBrowsing);
    EXPECT_EQ(control_->_fileNameEdit->stringValue(), "");
}

TEST_F(ProfileWindowTest, OkRunsTheRulesAndRereadsTheAdvancedPaneFromTheTicket) {
    Lists lists;
    start(lists);
    panel_->restoreValuesAndReturnError(nullptr);
    ui::PopUpButton* intent = panel_->onAdvancedView()->menu_iRGBIntent;
    const int before = intent->indexOfSelectedItem();
    open();
    // Changed behind the window's back: OK reads the pane back from the ticket.
    intent->selectItemAtIndex(before == 0 ? 1 : 0);
    panel_->modalWindow()->windowOK();
    EXPECT_EQ(intent->indexOfSelectedItem(), before);
    EXPECT_FALSE(control_->_profileManagementWindow->isVisible());
}

}  // namespace
}  // namespace t48::pde::testing

namespace t48::pde::testing {
namespace {

bool listsFile(const ui::PopUpButton& popup, const std::string& fileName) {
    for (const ui::PopUpButton::Item& item : popup.items()) {
        if (item.title.find(fileName) != std::string::npos) {
            return true;
        }
    }
    return false;
}

TEST_F(ProfileWindowTest, NewlyTickedProfileAppearsInTheAdvancedPopupsAtOnce) {
    Lists lists;
    lists.add(store::kClassRGB, entry(2, "TICKED.ICC"));
    lists.add(store::kClassSIM, entry(5, "LATER.ICC"));
    start(lists);
    panel_->restoreValuesAndReturnError(nullptr);
    AdvancedColorOptions& advanced = *panel_->onAdvancedView();
    EXPECT_FALSE(listsFile(*advanced.menu_iRGBSource, "TICKED.ICC"));
    open();
    tick(0);
    chooseClass(store::kClassSIM);
    tick(0);
    panel_->modalWindow()->windowOK();
    EXPECT_TRUE(listsFile(*advanced.menu_iRGBSource, "TICKED.ICC"));
    EXPECT_TRUE(listsFile(*advanced.menu_gRGBSource, "TICKED.ICC"));
    EXPECT_TRUE(listsFile(*advanced.menu_sSimulationProfile, "LATER.ICC"));
    EXPECT_FALSE(listsFile(*advanced.menu_iRGBSource, "LATER.ICC"));
}

}  // namespace
}  // namespace t48::pde::testing
