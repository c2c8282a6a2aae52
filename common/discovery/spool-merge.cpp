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

// Clears every stored slot whose file name is set but ill-shaped; true when any was.
bool dropIllShapedEntries(ProfileList* list) {
    bool cleared = false;
    for (ProfileEntry& entry : list->litem) {
        if (entry.FileName[0] != '\0' && !bJudgement8point3Format(entry.FileName)) {
            std::memset(&entry, 0, sizeof entry);
            if (list->iNum > 0) {
                --list->iNum;
            }
            cleared = true;
        }
    }
    return cleared;
}

// A row whose display name a profile file cannot hold (a control character, U+FFFE ...)
// has no usable name: it is not merged.
bool isMergeable(const ProfileEntry& spooled) {
    return (spooled.iLocation == kLocationDisk || spooled.iLocation == kLocationCard) &&
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
    const int32_t used = list->iNum < store::kProfileSlots ? list->iNum : store::kProfileSlots;
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
    for (ProfileEntry& entry : list->litem) {
        if (entry.iInMenu == store::kStateEmpty) {
            entry = spooled;
            entry.iInMenu = store::kStatePrinterConfirmed;
            ++list->iNum;
            return;
        }
    }
}

void mergeSpoolIntoLists(int failureFlag, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    ProfileList* lists[] = {rgb, sim, dst};
    for (ProfileList* list : lists) {
        vDeleteMIBprofilesTemporary(failureFlag, list);
    }

    bool anyCleared = false;
    for (ProfileList* list : lists) {
        anyCleared = dropIllShapedEntries(list) || anyCleared;
    }
    if (anyCleared) {
        store::ZTPListPaddingProfile_Dict(rgb);
    }

    const int32_t spooled =
        PlistForSpool.iNum < store::kProfileSlots ? PlistForSpool.iNum : store::kProfileSlots;
    for (int32_t i = 0; i < spooled; ++i) {
        const ProfileEntry& entry = PlistForSpool.litem[i];
        if (!isMergeable(entry)) {
            continue;
        }
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
