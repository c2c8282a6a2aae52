// Merging the spool list into the current profile file on disk.

#include <gtest/gtest.h>

#include <plist/plist.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "profile-file-fixture.hpp"
#include "spool-list.hpp"

namespace t48::discovery {
namespace {

using testing::append;
using testing::countEntries;
using testing::findEntry;
using testing::makeEntry;
using testing::ProfileFile;

constexpr int kSucceeded = 0;
constexpr int kFailed = 1;

// Puts one printer row into the spool list as a walk would.
void spoolRow(int row, const char* fileName, int32_t location, int32_t profileClass,
              const char* profileName = "From printer", int32_t availability = 1) {
    store::ProfileEntry& e = PlistForSpool.litem[row - 1];
    e.iIndexOnDevice = row;
    e.iLocation = location;
    e.iProfileClass = profileClass;
    e.iDriver = availability;
    std::strncpy(e.FileName, fileName, sizeof e.FileName - 1);
    std::strncpy(e.ProfileName, profileName, sizeof e.ProfileName - 1);
    if (PlistForSpool.iNum < row) {
        PlistForSpool.iNum = row;
    }
}

// One class of the file as written, read with libplist alone (the store's reader would
// repair what is looked at here): its count and, for each slot, whether every field is
// zero or empty.
struct WrittenClass {
    uint64_t count = 0;
    bool clear[store::kProfileSlots];
};

WrittenClass writtenClass(const std::string& path, int classIndex) {
    WrittenClass written{};
    std::fill(std::begin(written.clear), std::end(written.clear), true);
    std::stringstream xml;
    xml << std::ifstream(path).rdbuf();
    plist_t root = nullptr;
    plist_from_xml(xml.str().data(), static_cast<uint32_t>(xml.str().size()), &root);
    plist_t cls = root ? plist_dict_get_item(root, store::profileClassKey(classIndex)) : nullptr;
    if (cls == nullptr) {
        ADD_FAILURE() << "no class " << classIndex << " in " << xml.str();
        plist_free(root);
        return written;
    }
    plist_get_uint_val(plist_dict_get_item(cls, store::cCountKey), &written.count);
    for (const char* field :
         {"IndexOnDevice", "InMenu", "ProfileClass", "FileName", "ProfileName", "Location"}) {
        plist_t sub = plist_dict_get_item(cls, field);
        for (int slot = 0; sub != nullptr && slot < store::kProfileSlots; ++slot) {
            char key[32];
            std::snprintf(key, sizeof key, "%s%04d", field, slot);
            plist_t value = plist_dict_get_item(sub, key);
            uint64_t number = 0;
            char* text = nullptr;
            if (value != nullptr && plist_get_node_type(value) == PLIST_STRING) {
                plist_get_string_val(value, &text);
                written.clear[slot] = written.clear[slot] && (text == nullptr || *text == '\0');
                std::free(text);
            } else if (value != nullptr) {
                plist_get_uint_val(value, &number);
                written.clear[slot] = written.clear[slot] && number == 0;
            }
        }
    }
    plist_free(root);
    return written;
}

class SpoolMergeTest : public testing::ProfileFileTest {
protected:
    void SetUp() override {
        ProfileFileTest::SetUp();
        vSpoolPlist(nullptr, 0, nullptr, kSpoolClear);
    }
};

TEST_F(SpoolMergeTest, NewPrinterProfileIsAppendedHiddenWithThePrintersFields) {
    spoolRow(1, "PROFILE1.ICC", 4, 1, "Photo", 7);
    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);

    ProfileFile file = load();
    ASSERT_EQ(file.rgb().iNum, 1);
    const store::ProfileEntry& e = file.rgb().litem[0];
    EXPECT_STREQ(e.FileName, "PROFILE1.ICC");
    EXPECT_EQ(e.iInMenu, store::kStatePrinterConfirmed);
    EXPECT_EQ(e.iIndexOnDevice, 1);
    EXPECT_STREQ(e.ProfileName, "Photo");
    EXPECT_EQ(e.iProfileClass, 1);
    EXPECT_EQ(file.sim().iNum, 0);
    EXPECT_EQ(file.dst().iNum, 0);
}

TEST_F(SpoolMergeTest, ClassThreeGoesIntoSimulationAndDestination) {
    spoolRow(1, "CMYK.ICC", 5, 3);
    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile file = load();
    EXPECT_EQ(file.rgb().iNum, 0);
    ASSERT_NE(findEntry(file.sim(), "CMYK.ICC", 5), nullptr);
    ASSERT_NE(findEntry(file.dst(), "CMYK.ICC", 5), nullptr);
    EXPECT_EQ(findEntry(file.sim(), "CMYK.ICC", 5)->iInMenu, store::kStatePrinterConfirmed);
}

TEST_F(SpoolMergeTest, RowsThatAreNotStoredProfilesNeverReachTheFile) {
    spoolRow(1, "OTHER.ICC", 6, 1);    // not on disk or card
    spoolRow(2, "my file.icc", 4, 1);  // ill-shaped
    spoolRow(3, "CLASS4.ICC", 4, 4);   // no such class
    spoolRow(4, "CLASS0.ICC", 4, 0);
    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile file = load();
    EXPECT_EQ(file.rgb().iNum + file.sim().iNum + file.dst().iNum, 0);
}

TEST_F(SpoolMergeTest, SameNameAndLocationInClassesOneAndTwoGiveOneEntry) {
    spoolRow(1, "TWIN.ICC", 4, 1, "first");
    spoolRow(2, "TWIN.ICC", 4, 2, "second");
    spoolRow(3, "TWIN.ICC", 5, 2, "on the card");
    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile file = load();
    EXPECT_EQ(countEntries(file.rgb(), "TWIN.ICC"), 2) << "one per location";
    ASSERT_NE(findEntry(file.rgb(), "TWIN.ICC", 4), nullptr);
    EXPECT_STREQ(findEntry(file.rgb(), "TWIN.ICC", 4)->ProfileName, "first");
    EXPECT_EQ(findEntry(file.rgb(), "TWIN.ICC", 4)->iProfileClass, 1);
}

TEST_F(SpoolMergeTest, IllShapedStoredEntryIsRemovedWhateverItsOrigin) {
    ProfileFile file{};
    append(file.rgb(), makeEntry("my file.icc", 4, store::kStateUserAddedListed, 2, 501));
    append(file.rgb(), makeEntry("GOOD.ICC", 4, store::kStateUserAddedListed, 2, 502));
    append(file.dst(), makeEntry("bad name.icc", 4, store::kStatePrinterConfirmedListed, 3, 9));
    save(file);

    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile after = load();
    ASSERT_EQ(after.rgb().iNum, 1);
    EXPECT_STREQ(after.rgb().litem[0].FileName, "GOOD.ICC");
    EXPECT_EQ(after.dst().iNum, 0);
}

TEST_F(SpoolMergeTest, AnEditedDisplayNameSurvivesTheNextWalk) {
    ProfileFile file{};
    store::ProfileEntry e = makeEntry("PROFILE1.ICC", 4, store::kStatePrinterConfirmedListed, 1, 1);
    std::strcpy(e.ProfileName, "My photo paper");
    append(file.rgb(), e);
    save(file);
    spoolRow(1, "PROFILE1.ICC", 4, 1, "Printer's name");

    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile after = load();
    ASSERT_EQ(after.rgb().iNum, 1);
    EXPECT_STREQ(after.rgb().litem[0].ProfileName, "My photo paper");
    EXPECT_EQ(after.rgb().litem[0].iInMenu, store::kStatePrinterConfirmedListed);
}

TEST_F(SpoolMergeTest, MissingFileIsBuiltFromTheSpoolAlone) {
    std::filesystem::remove(currentPath());
    spoolRow(1, "NEW.ICC", 4, 2);
    ASSERT_EQ(vRestructPlistSpool2Current(kFailed), store::kStoreOK);
    ProfileFile file = load();
    ASSERT_EQ(file.rgb().iNum, 1);
    EXPECT_EQ(file.rgb().litem[0].iInMenu, store::kStatePrinterConfirmed)
        << "values filed before a walk failed are still merged";
}

TEST_F(SpoolMergeTest, AFullListDropsFurtherNewProfiles) {
    ProfileFile file{};
    for (int i = 0; i < store::kProfileSlots; ++i) {
        append(file.rgb(), makeEntry(("U" + std::to_string(i) + ".ICC").c_str(), 4,
                                     store::kStateUserAdded, 2, 500 + i));
    }
    save(file);
    spoolRow(1, "EXTRA.ICC", 4, 1);
    ASSERT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreOK);
    ProfileFile after = load();
    EXPECT_EQ(after.rgb().iNum, store::kProfileSlots);
    EXPECT_EQ(findEntry(after.rgb(), "EXTRA.ICC"), nullptr);
}

TEST_F(SpoolMergeTest, AFailedWalkWritesEachCountAsItsSlotsInUse) {
    ProfileFile file{};
    append(file.rgb(), makeEntry("S2.ICC", 4, store::kStatePrinterConfirmed, 1, 1));
    append(file.rgb(), makeEntry("A6.ICC", 4, store::kStateUserAddedListed, 2, 501));
    append(file.rgb(), makeEntry("B5.ICC", 4, store::kStateUserAdded, 2, 502));
    append(file.rgb(), makeEntry("S4.ICC", 4, store::kStatePrinterConfirmedListed, 1, 2));
    append(file.rgb(), makeEntry("S1.ICC", 4, store::kStatePrinterUnconfirmed, 1, 3));
    save(file);
    // What the walk filed before it failed: a new profile, then one it drops. The new one
    // takes the first slot the failure freed, S2's, and S2 stays dropped all the same.
    spoolRow(1, "NEW.ICC", 4, 1);
    spoolRow(2, "S2.ICC", 4, 1);
    ASSERT_EQ(vRestructPlistSpool2Current(kFailed), store::kStoreOK);

    const WrittenClass written = writtenClass(currentPath(), store::kClassRGB);
    EXPECT_EQ(written.count, 4u);
    for (int slot = 4; slot < store::kProfileSlots; ++slot) {
        ASSERT_TRUE(written.clear[slot]) << "freed slot " << slot << " still holds fields";
    }
    ProfileFile after = load();
    const char* kept[] = {"NEW.ICC", "A6.ICC", "B5.ICC", "S4.ICC"};
    const int32_t states[] = {store::kStatePrinterConfirmed, store::kStateUserAddedListed,
                              store::kStateUserAdded, store::kStateUserAddedListed};
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_STREQ(after.rgb().litem[slot].FileName, kept[slot]);
        EXPECT_EQ(after.rgb().litem[slot].iInMenu, states[slot]) << kept[slot];
    }
}

TEST_F(SpoolMergeTest, AnUnwritableFileIsReportedByTheResult) {
    std::filesystem::remove(currentPath());
    std::filesystem::create_directory(currentPath());  // a folder where the file belongs
    spoolRow(1, "NEW.ICC", 4, 2);
    EXPECT_EQ(vRestructPlistSpool2Current(kSucceeded), store::kStoreFailed);
}

// The state of a stored entry after the merge, by walk outcome and whether the printer
// still has it.
struct StateCase {
    int32_t before;
    int failureFlag;
    bool found;
    int32_t after;  // 0: gone from the file
};

class SpoolMergeStateTest : public SpoolMergeTest,
                            public ::testing::WithParamInterface<StateCase> {};

TEST_P(SpoolMergeStateTest, ReMarksTheStoredEntry) {
    const StateCase& c = GetParam();
    ProfileFile file{};
    append(file.rgb(), makeEntry("STORED.ICC", 4, c.before, 1, c.before >= 5 ? 501 : 3));
    append(file.rgb(), makeEntry("ANCHOR.ICC", 4, store::kStateUserAddedListed, 2, 502));
    save(file);
    if (c.found) {
        spoolRow(1, "STORED.ICC", 4, 1);
    }
    ASSERT_EQ(vRestructPlistSpool2Current(c.failureFlag), store::kStoreOK);

    ProfileFile after = load();
    const store::ProfileEntry* e = findEntry(after.rgb(), "STORED.ICC");
    if (c.after == store::kStateEmpty) {
        EXPECT_EQ(e, nullptr) << "state " << c.before << " should be dropped";
    } else {
        ASSERT_NE(e, nullptr) << "state " << c.before << " should stay";
        EXPECT_EQ(e->iInMenu, c.after) << "state before " << c.before << ", failure flag "
                                       << c.failureFlag << ", found " << c.found;
    }
    EXPECT_NE(findEntry(after.rgb(), "ANCHOR.ICC"), nullptr);
    EXPECT_EQ(countEntries(after.rgb(), "STORED.ICC"), e ? 1 : 0) << "never duplicated";
}

INSTANTIATE_TEST_SUITE_P(
    States, SpoolMergeStateTest,
    ::testing::Values(StateCase{1, kSucceeded, true, 2}, StateCase{2, kSucceeded, true, 2},
                      StateCase{1, kSucceeded, false, 1}, StateCase{2, kSucceeded, false, 1},
                      StateCase{1, kFailed, false, 0}, StateCase{2, kFailed, false, 0},
                      StateCase{1, kFailed, true, 0}, StateCase{2, kFailed, true, 0},
                      StateCase{3, kSucceeded, true, 4}, StateCase{4, kSucceeded, true, 4},
                      StateCase{3, kSucceeded, false, 6}, StateCase{4, kSucceeded, false, 6},
                      StateCase{3, kFailed, true, 4}, StateCase{4, kFailed, true, 4},
                      StateCase{3, kFailed, false, 6}, StateCase{4, kFailed, false, 6},
                      StateCase{5, kSucceeded, true, 2}, StateCase{5, kSucceeded, false, 5},
                      StateCase{5, kFailed, true, 2}, StateCase{5, kFailed, false, 5},
                      StateCase{6, kSucceeded, true, 4}, StateCase{6, kSucceeded, false, 6},
                      StateCase{6, kFailed, true, 4}, StateCase{6, kFailed, false, 6},
                      StateCase{2, 2, false, 0}, StateCase{4, -1, false, 6}));

}  // namespace
}  // namespace t48::discovery
