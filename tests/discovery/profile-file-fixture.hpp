#pragma once
// A profile file of user root, model "T48", under a fresh filesystem root, and
// shorthands for building and finding entries.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "child-process.hpp"
#include "preferences-folder.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::testing {

// The user whose file the tests work on: an account every machine has, so that the
// tools, which act as the user they are given, can act for it.
inline constexpr char kFileUser[] = "root";

struct ProfileFile {
    store::ProfileList lists[store::kProfileClassCount];
    store::ProfileList& rgb() { return lists[store::kClassRGB]; }
    store::ProfileList& sim() { return lists[store::kClassSIM]; }
    store::ProfileList& dst() { return lists[store::kClassDST]; }
};

inline store::ProfileEntry makeEntry(const char* fileName, int32_t location, int32_t state,
                                     int32_t profileClass = 1, int32_t index = 1) {
    store::ProfileEntry e{};
    e.iIndexOnDevice = index;
    e.iInMenu = state;
    e.iProfileClass = profileClass;
    std::strncpy(e.FileName, fileName, sizeof e.FileName - 1);
    std::strncpy(e.ProfileName, fileName, sizeof e.ProfileName - 1);
    e.iLocation = location;
    return e;
}

inline void append(store::ProfileList& list, const store::ProfileEntry& entry) {
    list.litem[list.iNum++] = entry;
}

// The slot with this file name and location among the used ones, or nullptr.
inline const store::ProfileEntry* findEntry(const store::ProfileList& list, const char* fileName,
                                            int32_t location = 4) {
    for (int i = 0; i < list.iNum; ++i) {
        if (std::strcmp(list.litem[i].FileName, fileName) == 0 &&
            list.litem[i].iLocation == location) {
            return &list.litem[i];
        }
    }
    return nullptr;
}

inline int countEntries(const store::ProfileList& list, const char* fileName) {
    int n = 0;
    for (int i = 0; i < list.iNum; ++i) {
        n += std::strcmp(list.litem[i].FileName, fileName) == 0 ? 1 : 0;
    }
    return n;
}

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root_.path().c_str(), 1);
        ASSERT_EQ(store::setServiceProfilePaths(kFileUser, "T48"), store::kStoreOK);
        ASSERT_TRUE(store::createPreferencesFolder()) << store::lastFolderRefusal();
    }
    void TearDown() override { unsetenv("T48_ROOT"); }

    void save(ProfileFile& file) {
        ASSERT_EQ(store::ZTPListWriteProfile_All(&file.rgb(), &file.sim(), &file.dst()),
                  store::kStoreOK);
    }
    ProfileFile load() {
        ProfileFile file{};
        EXPECT_EQ(store::ZTPListReadProfile_All(&file.rgb(), &file.sim(), &file.dst()),
                  store::kStoreOK);
        return file;
    }
    std::string currentPath() const { return store::ZT_PLIST_PROFILE_PATH; }
    const TempDir& root() const { return root_; }

private:
    TempDir root_;
};

}  // namespace t48::testing
