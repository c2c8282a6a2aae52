#pragma once
// The profiles a profile popup offers after its PPD choices: which entries of the user's
// profile list they are, where each lies on the printer, and how that path is written
// into the print settings.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "added-profile-text.hpp"
#include "pde-control-item.hpp"
#include "profile-entries.hpp"
#include "profile-list.hpp"
#include "value.hpp"

namespace t48::pde {

// The user's profile lists, read through the store into lists cleared first: RGB, SIM
// and DST into `lists[0..2]`, or one class into `list`. store::kStoreOK, or
// store::kStoreFailed for a missing, unreadable or rejected file (lists left cleared).
int readPanelProfileLists(store::ProfileList* lists);
int readPanelProfileList(store::ProfileList* list, int classIndex);

// The profile lists the popups of `table` were built from (commonAddMenuFromProfilePlist),
// held until its menus are built again or the table is released.
void holdMenuProfileLists(const PDEControlItem* table, std::unique_ptr<store::ProfileList[]> lists);
void releaseMenuProfileLists(const PDEControlItem* table);

// The class lists of one pass over a pane's records: those its menus were built from
// when `table` holds them, else each read from the file the first time a popup of its
// class needs it, not once for every popup.
class PassProfileLists {
public:
    explicit PassProfileLists(const PDEControlItem* table = nullptr) : table_(table) {}
    // The list of `classIndex` (0 to 2), cleared when unreadable; null without memory.
    const store::ProfileList* list(int classIndex);

private:
    const PDEControlItem* table_;
    std::unique_ptr<store::ProfileList> lists_[store::kProfileClassCount];
};

// commonSetTicketAddedProfile and commonGetTicketAddedProfile over the lists of a pass.
int32_t setTicketAddedProfile(const PDEControlItem* item, cf::Value* model, int16_t position,
                              PassProfileLists& lists);
int16_t getTicketAddedProfile(const PDEControlItem* item, const cf::Value* model,
                              PassProfileLists& lists);
// The popup item of the user's listed profile whose file lies at `path` on the printer;
// -1 when the record lists no such profile.
int32_t listedProfileItem(const PDEControlItem* item, const std::string& path,
                          PassProfileLists& lists);

}  // namespace t48::pde
