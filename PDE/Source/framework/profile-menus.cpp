// The profile popups list, after their PPD choices, the user's stored profiles of their
// class: one item per listed entry, titled "FileName(ProfileName)" and the word of the
// printer storage it lies on.

#include <memory>
#include <new>

#include "added-profile.hpp"
#include "control-access.hpp"
#include "pde-bundle.hpp"
#include "pde-common.hpp"
#include "profile-store.hpp"

namespace t48::pde {
namespace {

// The word shown for a location: its localization, the key itself when the bundle has
// none, so that every listed entry gets its item and the positions stay in step with
// the ticket entries. Empty for a location without storage of its own.
std::string locationWord(int32_t location) {
    const ProfileLocation* where = profileLocationFor(location);
    if (where == nullptr) {
        return {};
    }
    std::optional<std::string> word = localizedString(where->wordKey);
    return word && !word->empty() ? *word : where->wordKey;
}

std::string menuTitle(const store::ProfileEntry& entry) {
    std::string title(profileText(entry.FileName));
    title += '(';
    title += profileText(entry.ProfileName);
    title += ')';
    title += locationWord(entry.iLocation);
    return title;
}

// Items are appended only to a profile popup that holds exactly its PPD choices: a
// popup whose option the PPD lacks is never refilled and would collect the profiles
// again on every rebuild, and its positions would mean nothing.
bool takesProfileItems(const PDEControlItem* item) {
    const ui::PopUpButton* popup = detail::popupOf(item);
    return profileListIndex(item->profileClass) >= 0 && popup != nullptr &&
           item->choices != nullptr &&
           popup->numberOfItems() == static_cast<int>(item->choices->size());
}

}  // namespace

int32_t PDECommon::commonAddMenuFromProfilePlist(PDEControlItem* table) {
    if (table == nullptr) {
        return kPDEParamErr;
    }
    std::unique_ptr<store::ProfileList[]> lists(
        new (std::nothrow) store::ProfileList[store::kProfileClassCount]());
    if (!lists) {
        return kPDEMemFullErr;
    }
    bool takesProfiles = false;
    for (const PDEControlItem* item = table; item->control != nullptr; ++item) {
        takesProfiles = takesProfiles || takesProfileItems(item);
    }
    // The positions of the items are resolved against what they were built from, until
    // the menus are built again; an unreadable file gives no items and empty lists. A
    // PPD without the profile popups' options (a printer that is no T48) needs no file.
    const bool read = !takesProfiles || readPanelProfileLists(lists.get()) == store::kStoreOK;
    const store::ProfileList* built = lists.get();
    holdMenuProfileLists(table, std::move(lists));
    if (!read) {
        return kPDEProfileOpErr;
    }
    for (const PDEControlItem* item = table; takesProfiles && item->control != nullptr; ++item) {
        if (!takesProfileItems(item)) {
            continue;
        }
        ui::PopUpButton* popup = detail::popupOf(item);
        const store::ProfileList& list = built[profileListIndex(item->profileClass)];
        for (int32_t slot = 0; slot < list.iNum && slot < store::kProfileSlots; ++slot) {
            if (isListedProfileState(list.litem[slot].iInMenu)) {
                popup->addItemWithTitle(menuTitle(list.litem[slot]));
            }
        }
    }
    return kPDENoErr;
}

}  // namespace t48::pde
