// The mapping for queues that are never walked ("pap://", "usb://").

#include <cstring>
#include <memory>

#include "profile-store-private.hpp"
#include "profile-store.hpp"

namespace t48::store {

using namespace detail;

namespace {

bool sameEntry(const ProfileEntry& a, const ProfileEntry& b) {
    return std::memcmp(a.FileName, b.FileName, kProfileTextSize) == 0 && a.iLocation == b.iLocation;
}

// Used slots of a list: 0 to count - 1, bounded by the slot count whatever iNum says.
int usedSlots(const ProfileList& list) {
    return list.iNum < 0 ? 0 : (list.iNum > kProfileSlots ? kProfileSlots : list.iNum);
}

bool listHolds(const ProfileList* list, const ProfileEntry& entry) {
    if (list == nullptr) {
        return false;
    }
    for (int slot = 0; slot < usedSlots(*list); ++slot) {
        if (sameEntry(list->litem[slot], entry)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int ZTPListReadProfile_Dict_Pap(ProfileList* list, int classIndex) {
    ProfileFileContent* content = &fileContent();
    if (profileClassKey(classIndex) == nullptr || loadCurrentFile(content) != kStoreOK ||
        !hasClasses(*content, &classIndex, 1)) {
        return kStoreFailed;
    }
    const StagedClass& staged = content->classes[classIndex];
    int position = 0;
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        ProfileEntry& entry = list->litem[position];
        const ProfileEntry& stored = staged.value[slot];
        bool hasState = staged.has(slot, kFieldInMenu);
        if (hasState && stored.iInMenu == kStatePrinterConfirmed) {
            continue;  // hidden from the window, kept by the save's mapping
        }
        if (hasState) {
            entry.iInMenu = stored.iInMenu == kStatePrinterConfirmedListed ? kStateUserAddedListed
                                                                           : stored.iInMenu;
        }
        for (Field field : {kFieldIndexOnDevice, kFieldProfileClass, kFieldLocation}) {
            if (staged.has(slot, field)) {
                entry.*kIntegerMembers[field] = stored.*kIntegerMembers[field];
            }
        }
        for (Field field : {kFieldFileName, kFieldProfileName}) {
            if (staged.has(slot, field)) {
                std::memcpy(entry.*kTextMembers[field], stored.*kTextMembers[field],
                            kProfileTextSize);
            }
        }
        ++position;
    }
    if (staged.hasCount) {
        list->iNum = staged.count;
    }
    ZTPlistCheckWithInMenu_Dict(list);
    return kStoreOK;
}

int ZTPListMapping_Pap(const ProfileList* window, const ProfileList* file, ProfileList* out,
                       const ProfileList* deleted) {
    int position = 0;
    for (int slot = 0; slot < usedSlots(*file) && position < kProfileSlots; ++slot) {
        const ProfileEntry& entry = file->litem[slot];
        bool confirmed = entry.iInMenu == kStatePrinterConfirmed ||
                         entry.iInMenu == kStatePrinterConfirmedListed;
        if (confirmed && !listHolds(window, entry) && !listHolds(deleted, entry)) {
            out->litem[position++] = entry;
        }
    }
    for (int slot = 0; slot < usedSlots(*window) && position < kProfileSlots; ++slot) {
        out->litem[position++] = window->litem[slot];
    }
    out->iNum = position;
    return window->iNum;
}

int ZTPListMappingProfile_All_Pap(ProfileList* rgb, ProfileList* sim, ProfileList* dst,
                                  ProfileList* rgbOut, ProfileList* simOut, ProfileList* dstOut,
                                  ProfileList* rgbDeleted, ProfileList* simDeleted,
                                  ProfileList* dstDeleted) {
    auto file = std::make_unique<ProfileList[]>(kProfileClassCount);  // zeroed
    if (ZTPListReadProfile_All(&file[kClassRGB], &file[kClassSIM], &file[kClassDST]) != kStoreOK) {
        std::memset(file.get(), 0, sizeof(ProfileList) * kProfileClassCount);
    }
    ZTPListMapping_Pap(rgb, &file[kClassRGB], rgbOut, rgbDeleted);
    ZTPListMapping_Pap(sim, &file[kClassSIM], simOut, simDeleted);
    ZTPListMapping_Pap(dst, &file[kClassDST], dstOut, dstDeleted);
    return kStoreOK;
}

int ZTPListWriteProfile_All_Pap(ProfileList* rgb, ProfileList* sim, ProfileList* dst,
                                ProfileList* rgbDeleted, ProfileList* simDeleted,
                                ProfileList* dstDeleted) {
    auto out = std::make_unique<ProfileList[]>(kProfileClassCount);  // zeroed
    if (ZTPListIsAdminProfile() == 0) {
        return kStoreFailed;
    }
    ZTPListMappingProfile_All_Pap(rgb, sim, dst, &out[kClassRGB], &out[kClassSIM], &out[kClassDST],
                                  rgbDeleted, simDeleted, dstDeleted);
    return writeAll(&out[kClassRGB], &out[kClassSIM], &out[kClassDST]);
}

}  // namespace t48::store
