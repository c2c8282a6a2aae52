// Operations on ProfileList buffers in memory: count repair, cleaning, salvage, padding.

#include <cstring>

#include "profile-store.hpp"

namespace t48::store {

namespace {

inline constexpr int32_t kKeptIndexOnDevice = 501;

void clearEntry(ProfileEntry* entry) {
    std::memset(entry, 0, sizeof *entry);
}

}  // namespace

void ZTPlistCheckWithInMenu_Dict(ProfileList* list) {
    int used = 0;
    for (const ProfileEntry& entry : list->litem) {
        used += entry.iInMenu != kStateEmpty ? 1 : 0;
    }
    if (used == list->iNum) {
        return;
    }
    // The used slots are expected packed at the front; whatever lies past them goes.
    for (int slot = used; slot < kProfileSlots; ++slot) {
        clearEntry(&list->litem[slot]);
    }
    list->iNum = used;
}

void ZTPListCleanProfile_Dict(ProfileList* list) {
    for (ProfileEntry& entry : list->litem) {
        if (entry.iIndexOnDevice != 0 || entry.FileName[0] == '\0') {
            continue;
        }
        if (entry.iInMenu == kStatePrinterUnconfirmedListed ||
            entry.iInMenu == kStatePrinterConfirmedListed) {
            entry.iIndexOnDevice = kKeptIndexOnDevice;
            entry.iInMenu = kStatePrinterUnconfirmedListed;
            continue;
        }
        // A slot freed only by its state was no longer counted.
        if (entry.iInMenu != kStateEmpty) {
            --list->iNum;
        }
        clearEntry(&entry);
    }
}

void ZTPListSalvage_Dict(ProfileList* list) {
    for (ProfileEntry& entry : list->litem) {
        if (entry.iIndexOnDevice != 0 && entry.FileName[0] != '\0' &&
            entry.iInMenu == kStatePrinterUnconfirmedListed) {
            entry.iInMenu = kStateUserAddedListed;
        }
    }
}

void ZTPListPaddingProfile_Dict(ProfileList* list) {
    int next = 0;  // first slot that may still hold an entry to move forward
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        if (list->litem[slot].iInMenu != kStateEmpty) {
            continue;
        }
        next = next > slot ? next : slot + 1;
        while (next < kProfileSlots && list->litem[next].iInMenu == kStateEmpty) {
            ++next;
        }
        if (next == kProfileSlots) {
            return;
        }
        list->litem[slot] = list->litem[next];
        clearEntry(&list->litem[next]);
    }
}

}  // namespace t48::store
