#pragma once
// The real panel loaded over the sample PPD, with the real xpcservice and T48Helper under
// a test root (the panel's writes reach the file through them), its profile window
// opened through the "Management Profile" button, and a user's actions on the window's
// controls.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <string>

#include "advanced-color-options.hpp"
#include "panel-test-support.hpp"
#include "pde-plugin.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"
#include "profile-window-data.hpp"
#include "service-fixture.hpp"
#include "system-paths.hpp"
#include "utf16-text.hpp"

namespace t48::pde::testing {

using store::ProfileEntry;
using store::ProfileList;

inline ProfileEntry entry(int32_t state, const char* fileName, int32_t location = 4,
                          const char* profileName = "Shown Name", int32_t index = 1) {
    ProfileEntry e{};
    e.iIndexOnDevice = index;
    e.iInMenu = state;
    e.iProfileClass = 2;
    std::strncpy(e.FileName, fileName, store::kProfileTextSize - 1);
    std::strncpy(e.ProfileName, profileName, store::kProfileTextSize - 1);
    e.iLocation = location;
    return e;
}

// The three lists of a profile file, on the heap.
struct Lists {
    std::unique_ptr<ProfileList[]> all = std::make_unique<ProfileList[]>(3);
    ProfileList& operator[](int c) { return all[c]; }
    void add(int c, const ProfileEntry& e) { all[c].litem[all[c].iNum++] = e; }
};

class ProfileWindowTest : public ::testing::Test {
protected:
    // Writes `lists` as the user's profile file and loads the panel for a queue with
    // `deviceURI`.
    void start(Lists& lists, const std::string& deviceURI = "lpd://127.0.0.1/queue") {
        ASSERT_TRUE(service_.startService());
        for (const std::string& entry : service_.environment()) {
            putenv(const_cast<char*>(environment_.emplace_back(entry).c_str()));
        }
        // The panel reads the real user's file; the store writes it directly in these tests.
        ASSERT_EQ(store::setServiceProfilePaths(store::realUserLoginName(), "T48"),
                  store::kStoreOK);
        ASSERT_EQ(store::ZTPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), store::kStoreOK);
        const std::string icon = t48::systemPath(t48::SystemPath::kPrinterIcon);
        std::filesystem::create_directories(std::filesystem::path(icon).parent_path());
        std::ofstream(icon) << "icns";
        host_ = std::make_unique<t48::testing::TestHost>(t48::testing::samplePPDPath());
        host_->session().setCurrentPrinter(cf::Printer("T48_Office", deviceURI));
        panel_ = std::make_unique<PDEPlugInInterface>(host_.get());
        // Loaded as the print dialog's first request does, without the view request's
        // refresh from the printer (which would walk it and merge the answer in).
        panel_->myLoad();
        ASSERT_NE(panel_->onAdvancedView(), nullptr);
        control_ = panel_->profileControl();
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override {
        unsetenv("T48_ROOT");
        unsetenv("T48_XPC_SOCKET");
    }

    void open() {
        panel_->onAdvancedView()->button_ManageProfile->performClick();
        ASSERT_NE(panel_->modalWindow(), nullptr) << "the window should be open";
    }
    Lists readFile() {
        Lists lists;
        EXPECT_EQ(store::ZTPListReadProfile_All(&lists[0], &lists[1], &lists[2]), store::kStoreOK);
        return lists;
    }

    ui::TableView& table() { return *control_->_profileTableView; }
    int rows() { return table().numberOfRows(); }
    bool select(int row) { return table().userSelectRow(row); }
    void tick(int row) { table().userClickCell(row, window::kColumnInMenu); }
    void click(ui::PushButton* button) { button->performClick(); }
    void chooseClass(int index) {
        control_->_profileMenu->selectItemAtIndex(index);
        control_->_profileMenu->sendAction();
    }
    void chooseLocation(int item) { control_->_locationMenu->selectItemAtIndex(item); }
    void type(ZTTextField* field, const std::u16string& text) {
        for (char16_t unit : text) {
            field->replaceCharacters({static_cast<int>(field->text().size()), 0},
                                     std::u16string(1, unit));
        }
    }
    void clear(ZTTextField* field) {
        field->replaceCharacters({0, static_cast<int>(field->text().size())}, u"");
    }
    void browse(std::optional<std::string> path) {
        control_->openPanel.setNextAnswer(std::move(path));
        click(control_->_browse);
    }
    // The row as the table draws it: "inmenu", file name, display name, location.
    std::string shownRow(int row) {
        std::string out;
        for (const ui::DrawnCell& cell : table().drawRow(row)) {
            out += cell.column == "icon" ? (cell.drewImage ? "[icon]" : "[]")
                   : std::holds_alternative<int>(cell.value)
                       ? std::to_string(std::get<int>(cell.value))
                       : std::get<std::string>(cell.value);
            out += "|";
        }
        return out;
    }
    // Add, Edit, Delete as three letters, upper case when enabled.
    std::string buttons() {
        return std::string(control_->_addButton->isEnabled() ? "A" : "a") +
               (control_->_editButton->isEnabled() ? "E" : "e") +
               (control_->_deleteButton->isEnabled() ? "D" : "d");
    }

    t48::testing::ServiceRoot service_;
    std::list<std::string> environment_;  // putenv keeps pointers into these
    std::unique_ptr<t48::testing::TestHost> host_;
    std::unique_ptr<PDEPlugInInterface> panel_;
    ProfileControl* control_ = nullptr;
};

}  // namespace t48::pde::testing
