#pragma once
// A fresh filesystem root per test with the service paths of user "alice", model "T48".

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "child-process.hpp"
#include "preferences-folder.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::store::testing {

// Three cleared lists on the heap (each is about 40 kB).
struct Lists {
    std::unique_ptr<ProfileList[]> all = std::make_unique<ProfileList[]>(kProfileClassCount);
    ProfileList& rgb() { return all[kClassRGB]; }
    ProfileList& sim() { return all[kClassSIM]; }
    ProfileList& dst() { return all[kClassDST]; }
    ProfileList& operator[](int c) { return all[c]; }
    int read() { return ZTPListReadProfile_All(&rgb(), &sim(), &dst()); }
    int write() { return ZTPListWriteProfile_All(&rgb(), &sim(), &dst()); }
};

inline ProfileEntry makeEntry(int32_t index, int32_t state, const char* fileName,
                              const char* profileName = "name", int32_t location = 4) {
    ProfileEntry entry{};
    entry.iIndexOnDevice = index;
    entry.iInMenu = state;
    entry.iProfileClass = 2;
    std::strncpy(entry.FileName, fileName, kProfileTextSize - 1);
    std::strncpy(entry.ProfileName, profileName, kProfileTextSize - 1);
    entry.iLocation = location;
    return entry;
}

inline void append(ProfileList* list, const ProfileEntry& entry) {
    list->litem[list->iNum++] = entry;
}

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline bool exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root_.path().c_str(), 1);
        ASSERT_EQ(setServiceProfilePaths("alice", "T48"), kStoreOK);
        ASSERT_TRUE(createPreferencesFolder()) << lastFolderRefusal();
        current_ = ZT_PLIST_PROFILE_PATH;
        previous_ = ZT_PLIST_PROFILE_PREV_PATH;
    }
    void TearDown() override { unsetenv("T48_ROOT"); }

    std::string folder() const { return current_.substr(0, current_.rfind('/')); }

    t48::testing::TempDir root_;
    std::string current_;
    std::string previous_;
};

}  // namespace t48::store::testing
