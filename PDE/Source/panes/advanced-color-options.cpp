#include "advanced-color-options.hpp"

#include <cstring>
#include <memory>
#include <new>

#include "added-profile.hpp"
#include "launch.hpp"
#include "pde-common.hpp"
#include "profile-store.hpp"
#include "system-paths.hpp"

namespace t48::pde {

void AdvancedColorOptions::createPDEControlTable() {
    PDEPane::createPDEControlTable();
    if (tab_SwitchVew != nullptr) {
        tab_SwitchVew->selectTabAtIndex(0);
    }
    // Asked each time the table is built: the profile window writes the shared list.
    if (button_ManageProfile != nullptr) {
        button_ManageProfile->setEnabled(profileStore_ && store::ZTPListIsAdminProfile() == 1);
    }
}

void AdvancedColorOptions::createPDEItemForPPDKey() {
    PDEPane::createPDEItemForPPDKey();
    if (profileStore_) {
        PDECommon::commonAddMenuFromProfilePlist(ctrlTable_);
        return;
    }
    // The popups' positions resolve against empty lists: no pass reads the file.
    holdMenuProfileLists(ctrlTable_,
                         std::unique_ptr<store::ProfileList[]>(
                             new (std::nothrow) store::ProfileList[store::kProfileClassCount]()));
}

void AdvancedColorOptions::downloadManagerButton(ui::Control&) {
    // The path is cut to the 127 bytes the launch services were handed.
    char path[128] = {};
    const std::string rooted = systemPath(SystemPath::kDownloadManager);
    std::strncpy(path, rooted.c_str(), sizeof path - 1);
    if (launch::pathMakeRef(path) != launch::kLaunchNoError) {
        return;
    }
    launch::openApplication(path);
}

}  // namespace t48::pde
