// The profile lists each control table's popups were last built from. A refresh may merge
// the printer's table into the file after the menus were built (removing, adding and
// moving entries) without rebuilding them; positions chosen in the menus are resolved
// against these lists, so the profile stored is the one the user saw.

#include <map>
#include <memory>
#include <new>

#include "added-profile.hpp"

namespace t48::pde {
namespace {

// Keyed by the table's address; the panel's operations all run on one thread.
std::map<const PDEControlItem*, std::unique_ptr<store::ProfileList[]>>& heldLists() {
    static std::map<const PDEControlItem*, std::unique_ptr<store::ProfileList[]>> held;
    return held;
}

}  // namespace

void holdMenuProfileLists(const PDEControlItem* table,
                          std::unique_ptr<store::ProfileList[]> lists) {
    if (table != nullptr && lists) {
        heldLists()[table] = std::move(lists);
    }
}

void releaseMenuProfileLists(const PDEControlItem* table) {
    heldLists().erase(table);
}

const store::ProfileList* PassProfileLists::list(int classIndex) {
    if (classIndex < 0 || classIndex >= store::kProfileClassCount) {
        return nullptr;
    }
    if (table_ != nullptr) {
        auto held = heldLists().find(table_);
        if (held != heldLists().end()) {
            return &held->second[classIndex];
        }
    }
    std::unique_ptr<store::ProfileList>& read = lists_[classIndex];
    if (!read) {
        // An unreadable file leaves the list cleared, that is empty.
        read.reset(new (std::nothrow) store::ProfileList);
        if (read) {
            readPanelProfileList(read.get(), classIndex);
        }
    }
    return read.get();
}

}  // namespace t48::pde
