#include <cstring>
#include <string_view>

#include "profile-store.hpp"
#include "spool-list.hpp"
#include "utf8-text.hpp"

namespace t48::discovery {
namespace {

using store::ProfileEntry;
using store::ProfileList;

// Locations a printer reports for stored profiles: 4 its disk, 5 its card.
constexpr int32_t kLocationDisk = 4;
constexpr int32_t kLocationCard = 5;

// Printer class codes: 1 and 2 go to the RGB list, 3 to both SIM and DST.
constexpr int32_t kPrinterClassRgbA = 1;
constexpr int32_t kPrinterClassRgbB = 2;
constexpr int32_t kPrinterClassCmyk = 3;

// The slots a match looks at: 0 to count - 1, whatever the count says.
int32_t usedSlots(const ProfileList& list) {
    return list.iNum < 0 ? 0
                         : (list.iNum > store::kProfileSlots ? store::kProfileSlots : list.iNum);
}

// Re-marking before the match, by walk outcome: {state, after success, after failure}.
struct Remark {
    int32_t before;
    int32_t afterSuccess;
    int32_t afterFailure;
};
constexpr Remark kRemarks[] = {
    {store::kStatePrinterUnconfirmed, store::kStatePrinterUnconfirmed, store::kStateEmpty},
    {store::kStatePrinterConfirmed, store::kStatePrinterUnconfirmed, store::kStateEmpty},
    {store::kStatePrinterConfirmedListed, store::kStatePrinterUnconfirmedListed,
     store::kStateUserAddedListed},
};

// A match found again by the walk: {state before, state after}; others stay.
struct Confirm {
    int32_t before;
    int32_t after;
};
constexpr Confirm kConfirms[] = {
    {store::kStatePrinterUnconfirmed, store::kStatePrinterConfirmed},
    {store::kStateUserAdded, store::kStatePrinterConfirmed},
    {store::kStatePrinterUnconfirmedListed, store::kStatePrinterConfirmedListed},
    {store::kStateUserAddedListed, store::kStatePrinterConfirmedListed},
};

// Removes the used slots whose file name is set but ill-shaped, moving the slots after
// them forward (in their order, dropped ones included, so that every slot a match may
// look at stays below the count).
void dropIllShapedEntries(ProfileList* list) {
    const int32_t used = usedSlots(*list);
    int32_t kept = 0;
    for (int32_t slot = 0; slot < used; ++slot) {
        const ProfileEntry& entry = list->litem[slot];
        if (entry.FileName[0] != '\0' && !bJudgement8point3Format(entry.FileName)) {
            continue;
        }
        list->litem[kept++] = entry;
    }
    std::memset(&list->litem[kept], 0,
                sizeof(ProfileEntry) * static_cast<std::size_t>(used - kept));
    list->iNum = kept;
}

// Moves the slots in use (any state but 0) to the front in their order, clears all the
// others and sets the count to the slots in use: the shape of a list as it is read and
// as it is written.
void packList(ProfileList* list) {
    store::ZTPListPaddingProfile_Dict(list);
    int32_t used = 0;
    while (used < store::kProfileSlots && list->litem[used].iInMenu != store::kStateEmpty) {
        ++used;
    }
    std::memset(&list->litem[used], 0,
                sizeof(ProfileEntry) * static_cast<std::size_t>(store::kProfileSlots - used));
    list->iNum = used;
}

// The first slot of [from, to) with state 0, or nullptr.
ProfileEntry* firstFreeSlot(ProfileList* list, int32_t from, int32_t to) {
    for (int32_t slot = from; slot < to; ++slot) {
        if (list->litem[slot].iInMenu == store::kStateEmpty) {
            return &list->litem[slot];
        }
    }
    return nullptr;
}

// A row whose display name a profile file cannot hold (a control character, U+FFFE ...)
// has no usable name: it is not merged.
bool isMergeable(int spoolIndex) {
    const ProfileEntry& spooled = PlistForSpool.litem[spoolIndex];
    return bSpoolRowUsable(spoolIndex) &&
           (spooled.iLocation == kLocationDisk || spooled.iLocation == kLocationCard) &&
           bJudgement8point3Format(spooled.FileName) &&
           text::isStorableText(std::string_view(
               spooled.ProfileName, strnlen(spooled.ProfileName, sizeof spooled.ProfileName)));
}

}  // namespace

void vDeleteMIBprofilesTemporary(int failureFlag, ProfileList* list) {
    for (ProfileEntry& entry : list->litem) {
        for (const Remark& remark : kRemarks) {
            if (entry.iInMenu == remark.before) {
                entry.iInMenu = failureFlag == 0 ? remark.afterSuccess : remark.afterFailure;
                break;
            }
        }
    }
}

void vRestructDetail(int spoolIndex, ProfileList* list) {
    if (spoolIndex < 0 || spoolIndex >= store::kProfileSlots) {
        return;
    }
    const ProfileEntry& spooled = PlistForSpool.litem[spoolIndex];
    const int32_t used = usedSlots(*list);
    for (int32_t i = 0; i < used; ++i) {
        ProfileEntry& entry = list->litem[i];
        if (std::memcmp(entry.FileName, spooled.FileName, sizeof entry.FileName) == 0 &&
            entry.iLocation == spooled.iLocation) {
            for (const Confirm& confirm : kConfirms) {
                if (entry.iInMenu == confirm.before) {
                    entry.iInMenu = confirm.after;
                    break;
                }
            }
            return;
        }
    }
    // A new entry goes after the counted slots; only a full list reuses a slot the
    // re-marking dropped, which then stops matching the profile it held.
    ProfileEntry* slot = firstFreeSlot(list, used, store::kProfileSlots);
    const bool appended = slot != nullptr;
    if (slot == nullptr) {
        slot = firstFreeSlot(list, 0, used);
    }
    if (slot == nullptr) {
        return;
    }
    *slot = spooled;
    slot->iInMenu = store::kStatePrinterConfirmed;
    if (appended) {
        ++list->iNum;
    }
}

void mergeSpoolIntoLists(int failureFlag, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    ProfileList* lists[] = {rgb, sim, dst};
    // Every list is packed and rid of ill-shaped entries before any row is matched, so
    // that a match sees every stored entry and never appends a second copy of one.
    for (ProfileList* list : lists) {
        packList(list);
        vDeleteMIBprofilesTemporary(failureFlag, list);
        dropIllShapedEntries(list);
    }

    const int32_t spooled =
        PlistForSpool.iNum < store::kProfileSlots ? PlistForSpool.iNum : store::kProfileSlots;
    for (int32_t i = 0; i < spooled; ++i) {
        if (!isMergeable(i)) {
            continue;
        }
        const ProfileEntry& entry = PlistForSpool.litem[i];
        if (entry.iProfileClass == kPrinterClassRgbA || entry.iProfileClass == kPrinterClassRgbB) {
            vRestructDetail(i, rgb);
        } else if (entry.iProfileClass == kPrinterClassCmyk) {
            vRestructDetail(i, sim);
            vRestructDetail(i, dst);
        }
    }

    for (ProfileList* list : lists) {
        store::ZTPListCleanProfile_Dict(list);
        store::ZTPListPaddingProfile_Dict(list);
        store::ZTPListSalvage_Dict(list);
        packList(list);
    }
}

int vRestructPlistSpool2Current(int failureFlag) {
    static ProfileList lists[store::kProfileClassCount];
    ProfileList& rgb = lists[store::kClassRGB];
    ProfileList& sim = lists[store::kClassSIM];
    ProfileList& dst = lists[store::kClassDST];
    std::memset(lists, 0, sizeof lists);
    // A missing file is built from the spool list alone. One that is there but does not
    // read may still hold the user's own entries: it stays as it is, and only the walk's
    // result tells of the walk.
    if (store::ZTPListReadProfile_All(&rgb, &sim, &dst) != store::kStoreOK &&
        !store::currentFileHoldsNothing()) {
        return store::kStoreFailed;
    }
    mergeSpoolIntoLists(failureFlag, &rgb, &sim, &dst);
    return store::ZTPListWriteProfile_All(&rgb, &sim, &dst);
}

}  // namespace t48::discovery
