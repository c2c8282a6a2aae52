#include <algorithm>
#include <bitset>
#include <cstring>
#include <initializer_list>
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

// Clears every slot whose file name is set but ill-shaped; the slot is free from then on.
void clearIllShapedEntries(ProfileList* list) {
    for (ProfileEntry& entry : list->litem) {
        if (entry.FileName[0] != '\0' && !bJudgement8point3Format(entry.FileName)) {
            std::memset(&entry, 0, sizeof entry);
        }
    }
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

// The first slot holding the spool entry's profile (its 32-byte FileName and its
// Location), whatever the slot's state; nullptr when none does. Free slots past the
// stored ones are clear, so they hold no profile.
ProfileEntry* findProfile(ProfileList* list, const ProfileEntry& spooled) {
    for (ProfileEntry& entry : list->litem) {
        if (std::memcmp(entry.FileName, spooled.FileName, sizeof entry.FileName) == 0 &&
            entry.iLocation == spooled.iLocation) {
            return &entry;
        }
    }
    return nullptr;
}

void confirm(ProfileEntry* entry) {
    for (const Confirm& rule : kConfirms) {
        if (entry->iInMenu == rule.before) {
            entry->iInMenu = rule.after;
            return;
        }
    }
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
    if (ProfileEntry* found = findProfile(list, spooled)) {
        confirm(found);
        return;
    }
    for (ProfileEntry& slot : list->litem) {
        if (slot.iInMenu == store::kStateEmpty) {
            slot = spooled;
            slot.iInMenu = store::kStatePrinterConfirmed;
            ++list->iNum;
            return;
        }
    }
}

namespace {

// Merges the mergeable spool rows of the printer classes `classes` into `list`. The rows
// the list holds already are matched first, and only then do the new ones fill its free
// slots, first free first: a slot the re-marking freed still matches the profile it held
// while every row is looked for, whichever new row takes it afterwards.
void mergeRows(ProfileList* list, std::initializer_list<int32_t> classes, int32_t spooled) {
    std::bitset<store::kProfileSlots> isNew;
    for (int32_t i = 0; i < spooled; ++i) {
        const ProfileEntry& row = PlistForSpool.litem[i];
        if (!isMergeable(i) ||
            std::find(classes.begin(), classes.end(), row.iProfileClass) == classes.end()) {
            continue;
        }
        ProfileEntry* stored = findProfile(list, row);
        if (stored != nullptr) {
            confirm(stored);
        }
        isNew[static_cast<size_t>(i)] = stored == nullptr;
    }
    for (int32_t i = 0; i < spooled; ++i) {
        if (isNew[static_cast<size_t>(i)]) {
            vRestructDetail(i, list);
        }
    }
}

}  // namespace

void mergeSpoolIntoLists(int failureFlag, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    ProfileList* lists[] = {rgb, sim, dst};
    // Every list is packed before any row is matched, so that a match sees every stored
    // entry and never appends a second copy of one. The slots freed from here on stay
    // where they are, for the new rows.
    for (ProfileList* list : lists) {
        packList(list);
        vDeleteMIBprofilesTemporary(failureFlag, list);
        clearIllShapedEntries(list);
    }

    const int32_t spooled =
        PlistForSpool.iNum < store::kProfileSlots ? PlistForSpool.iNum : store::kProfileSlots;
    mergeRows(rgb, {kPrinterClassRgbA, kPrinterClassRgbB}, spooled);
    mergeRows(sim, {kPrinterClassCmyk}, spooled);
    mergeRows(dst, {kPrinterClassCmyk}, spooled);

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
