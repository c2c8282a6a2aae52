// The readers and writers of the profile file and the operations on the files.

#include "profile-store.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "preferences-folder.hpp"
#include "profile-backend.hpp"
#include "profile-paths.hpp"
#include "profile-store-private.hpp"
#include "profile-xml-reader.hpp"
#include "profile-xml-writer.hpp"

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

ProfileFileContent& fileContent() {
    thread_local std::unique_ptr<ProfileFileContent> content =
        std::make_unique_for_overwrite<ProfileFileContent>();
    return *content;
}

int readCurrentFile(std::string* xml) {
    PreferencesFolder folder(backend::fileUser());
    return folder.read(leafOfPath(backend::currentPath()), xml) ? kStoreOK : kStoreFailed;
}

int loadCurrentFile(ProfileFileContent* content) {
    std::string xml;
    if (readCurrentFile(&xml) != kStoreOK) {
        return kStoreFailed;
    }
    return parseProfileFile(xml, content);
}

namespace {

int readAllFromContent(const ProfileFileContent& content, ProfileList* rgb, ProfileList* sim,
                       ProfileList* dst) {
    if (!hasClasses(content, kAllClasses, kProfileClassCount)) {
        return kStoreFailed;
    }
    ProfileList* const lists[kProfileClassCount] = {rgb, sim, dst};
    for (int c = 0; c < kProfileClassCount; ++c) {
        fillList(content.classes[c], lists[c]);
    }
    return kStoreOK;
}

}  // namespace

bool readsAsProfileFile(std::string_view xml) {
    ProfileFileContent& content = fileContent();
    return parseProfileFile(xml, &content) == kStoreOK &&
           hasClasses(content, kAllClasses, kProfileClassCount);
}

int readAllFromXml(std::string_view xml, ProfileList* rgb, ProfileList* sim, ProfileList* dst) {
    ProfileFileContent* content = &fileContent();
    if (parseProfileFile(xml, content) != kStoreOK) {
        return kStoreFailed;
    }
    return readAllFromContent(*content, rgb, sim, dst);
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
    ProfileFileContent* content = &fileContent();
    if (loadCurrentFile(content) != kStoreOK) {
        return kStoreFailed;
    }
    return readAllFromContent(*content, rgb, sim, dst);
}

int ZTPListReadProfile_Dict(ProfileList* list, int classIndex) {
    ProfileFileContent* content = &fileContent();
    if (!isClassIndex(classIndex) || loadCurrentFile(content) != kStoreOK ||
        !hasClasses(*content, &classIndex, 1)) {
        return kStoreFailed;
    }
    fillList(content->classes[classIndex], list);
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
