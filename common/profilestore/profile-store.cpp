// The readers and writers of the profile file and the operations on the files.

#include "profile-store.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "profile-backend.hpp"
#include "profile-files.hpp"
#include "profile-store-private.hpp"

namespace t48::store {

namespace {

constexpr const char* kClassKeys[kProfileClassCount] = {"RGB", "SIM", "DST"};
constexpr int kAllClasses[kProfileClassCount] = {kClassRGB, kClassSIM, kClassDST};

bool isClassIndex(int classIndex) {
    return classIndex >= 0 && classIndex < kProfileClassCount;
}

}  // namespace

const char* profileClassKey(int classIndex) {
    return isClassIndex(classIndex) ? kClassKeys[classIndex] : nullptr;
}

namespace detail {

int loadCurrentFile(PlistOwner* root) {
    std::string xml;
    if (readWholeFile(backend::currentPath(), &xml) != kStoreOK) {
        return kStoreFailed;
    }
    return parseProfileXml(xml, root);
}

bool hasClasses(plist_t root, const int* classIndexes, int classCount) {
    for (int c = 0; c < classCount; ++c) {
        if (!hasClass(root, classIndexes[c])) {
            return false;
        }
    }
    for (int f = 0; f < kFieldCount; ++f) {
        for (int c = 0; c < classCount; ++c) {
            if (!hasField(root, classIndexes[c], static_cast<Field>(f))) {
                return false;
            }
        }
    }
    return true;
}

void fillList(const ClassSlots& slots, ProfileList* list) {
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        ProfileEntry& entry = list->litem[slot];
        readIntValue(slots.field[kFieldIndexOnDevice][slot], &entry.iIndexOnDevice);
        readIntValue(slots.field[kFieldInMenu][slot], &entry.iInMenu);
        readIntValue(slots.field[kFieldProfileClass][slot], &entry.iProfileClass);
        readStringValue(slots.field[kFieldFileName][slot], entry.FileName);
        readStringValue(slots.field[kFieldProfileName][slot], entry.ProfileName);
        readIntValue(slots.field[kFieldLocation][slot], &entry.iLocation);
    }
    readIntValue(slots.count, &list->iNum);
    ZTPlistCheckWithInMenu_Dict(list);
}

namespace {

int readAllFromRoot(plist_t root, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    if (!hasClasses(root, kAllClasses, kProfileClassCount)) {
        return kStoreFailed;
    }
    ProfileList* const lists[kProfileClassCount] = {rgb, sim, dst};
    auto slots = std::make_unique<ClassSlots>();
    for (int c = 0; c < kProfileClassCount; ++c) {
        indexClass(root, c, slots.get());
        fillList(*slots, lists[c]);
    }
    return kStoreOK;
}

}  // namespace

int readAllFromXml(std::string_view xml, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    PlistOwner root;
    if (parseProfileXml(xml, &root) != kStoreOK) {
        return kStoreFailed;
    }
    return readAllFromRoot(root.get(), rgb, sim, dst);
}

int writeAll(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst) {
    if (ZTPListIsAdminProfile() == 0) {
        return kStoreFailed;
    }
    std::string xml;
    if (serializeProfileLists(rgb, sim, dst, &xml) != kStoreOK) {
        return kStoreFailed;
    }
    return backend::saveCurrent(xml);
}

}  // namespace detail

using namespace detail;

int ZTPListReadProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    PlistOwner root;
    if (loadCurrentFile(&root) != kStoreOK) {
        return kStoreFailed;
    }
    return readAllFromRoot(root.get(), rgb, sim, dst);
}

int ZTPListReadProfile_Dict(ProfileList* list, int classIndex) {
    PlistOwner root;
    if (!isClassIndex(classIndex) || loadCurrentFile(&root) != kStoreOK ||
        !hasClasses(root.get(), &classIndex, 1)) {
        return kStoreFailed;
    }
    auto slots = std::make_unique<ClassSlots>();
    indexClass(root.get(), classIndex, slots.get());
    fillList(*slots, list);
    return kStoreOK;
}

int ZTPListWriteProfile_All(ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    return writeAll(rgb, sim, dst);
}

int ZTPListWriteProfile_Dict(ProfileList* list, int classIndex, ProfileList* rgbOut,
                             ProfileList* simOut, ProfileList* dstOut) {
    if (!isClassIndex(classIndex)) {
        return kStoreFailed;
    }
    auto read = std::make_unique<ProfileList[]>(kProfileClassCount);  // zeroed
    ZTPListReadProfile_All(&read[kClassRGB], &read[kClassSIM], &read[kClassDST]);
    ProfileList* const outputs[kProfileClassCount] = {rgbOut, simOut, dstOut};
    for (int c = 0; c < kProfileClassCount; ++c) {
        if (outputs[c] != nullptr) {
            *outputs[c] = read[c];
        }
    }
    read[classIndex] = *list;
    int status = writeAll(&read[kClassRGB], &read[kClassSIM], &read[kClassDST]);
    if (outputs[classIndex] != nullptr) {
        *outputs[classIndex] = *list;
    }
    return status;
}

int ZTPListIsAdminProfile() {
    return backend::writeTest();
}

int ZTPListExistProfile() {
    if (ZTPListIsAdminProfile() == 0) {
        return 0;
    }
    return backend::existsCurrent();
}

int ZTPListRemove(int which) {
    if (ZTPListIsAdminProfile() == 0) {
        return 0;
    }
    switch (which) {
        case kRemoveCurrent:
            return backend::removePath(backend::currentPath());
        case kRemovePrevious:
            return backend::removePath(backend::previousPath());
        default:
            return 0;
    }
}

void ZTPListSwapProfile(int mode) {
    if (ZTPListIsAdminProfile() == 0) {
        return;
    }
    if (mode == kSwapRestorePrevious || mode == kSwapDeletePrevious || mode == kSwapBackupCurrent) {
        backend::swapFiles(mode);
    }
}

bool currentFileHoldsNothing() {
    struct stat info {};
    if (::lstat(backend::currentPath().c_str(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(info.st_mode) && info.st_size == 0;
}

void MyDebugMessage(const char* /*message*/, long /*value*/) {}

}  // namespace t48::store
