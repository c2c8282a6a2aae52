// The in-memory operations on one list: padding, cleaning, salvage, count repair.

#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

class ListOpsTest : public ::testing::Test {
protected:
    ProfileList& list() { return *list_; }
    std::unique_ptr<ProfileList> list_ = std::make_unique<ProfileList>();
};

TEST_F(ListOpsTest, PaddingMovesEntriesForwardInOrder) {
    list().litem[1] = makeEntry(11, kStateUserAddedListed, "one");
    list().litem[3] = makeEntry(33, kStatePrinterConfirmed, "three");
    list().iNum = 2;
    ZTPListPaddingProfile_Dict(&list());
    EXPECT_STREQ(list().litem[0].FileName, "one");
    EXPECT_EQ(list().litem[0].iIndexOnDevice, 11);
    EXPECT_STREQ(list().litem[1].FileName, "three");
    EXPECT_EQ(list().litem[2].iInMenu, 0);
    EXPECT_EQ(list().litem[2].FileName[0], '\0');
    EXPECT_EQ(list().litem[3].iInMenu, 0);
    EXPECT_EQ(list().litem[3].iIndexOnDevice, 0);
    EXPECT_EQ(list().iNum, 2);
}

TEST_F(ListOpsTest, PaddingPacksAFullyScatteredList) {
    for (int slot = 1; slot < kProfileSlots; slot += 2) {
        list().litem[slot] = makeEntry(slot, kStateUserAdded, "x");
    }
    ZTPListPaddingProfile_Dict(&list());
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        bool used = slot < kProfileSlots / 2;
        ASSERT_EQ(list().litem[slot].iInMenu != 0, used) << "slot " << slot;
        if (used) {
            ASSERT_EQ(list().litem[slot].iIndexOnDevice, 2 * slot + 1) << "slot " << slot;
        }
    }
}

struct CleanCase {
    const char* what;
    int32_t index;
    int32_t state;
    const char* fileName;
    int32_t indexAfter;  // -1: the slot is cleared
    int32_t stateAfter;
    int32_t countAfter;
};
class CleanTest : public ListOpsTest, public ::testing::WithParamInterface<CleanCase> {};

TEST_P(CleanTest, TreatsTheSlotByIndexStateAndName) {
    const CleanCase& c = GetParam();
    list().litem[0] = makeEntry(c.index, c.state, c.fileName);
    list().litem[1] = makeEntry(9, kStatePrinterConfirmed, "other");
    list().iNum = 2;
    ZTPListCleanProfile_Dict(&list());
    if (c.indexAfter < 0) {
        EXPECT_EQ(list().litem[0].FileName[0], '\0') << c.what;
        EXPECT_EQ(list().litem[0].iInMenu, 0) << c.what;
    } else {
        EXPECT_EQ(list().litem[0].iIndexOnDevice, c.indexAfter) << c.what;
        EXPECT_EQ(list().litem[0].iInMenu, c.stateAfter) << c.what;
    }
    EXPECT_EQ(list().iNum, c.countAfter) << c.what;
    EXPECT_EQ(list().litem[1].iIndexOnDevice, 9) << "a slot with an index stays";
}

INSTANTIATE_TEST_SUITE_P(Slots, CleanTest,
                         ::testing::Values(CleanCase{"listed, confirmed", 0, 4, "f", 501, 3, 2},
                                           CleanCase{"listed, unconfirmed", 0, 3, "f", 501, 3, 2},
                                           CleanCase{"user added", 0, 6, "f", -1, 0, 1},
                                           CleanCase{"not listed", 0, 2, "f", -1, 0, 1},
                                           CleanCase{"no file name", 0, 4, "", 0, 4, 2},
                                           CleanCase{"has an index", 5, 6, "f", 5, 6, 2},
                                           CleanCase{"freed by its state only", 0, 0, "f", -1, 0,
                                                     2}));

TEST_F(ListOpsTest, SalvageTurnsIndexedListedEntriesIntoUserEntries) {
    list().litem[0] = makeEntry(7, kStatePrinterUnconfirmedListed, "a");
    list().litem[1] = makeEntry(0, kStatePrinterUnconfirmedListed, "b");
    list().litem[2] = makeEntry(8, kStatePrinterUnconfirmedListed, "");
    list().litem[3] = makeEntry(9, kStatePrinterConfirmedListed, "d");
    list().iNum = 4;
    ZTPListSalvage_Dict(&list());
    EXPECT_EQ(list().litem[0].iInMenu, kStateUserAddedListed);
    EXPECT_EQ(list().litem[1].iInMenu, kStatePrinterUnconfirmedListed) << "no index";
    EXPECT_EQ(list().litem[2].iInMenu, kStatePrinterUnconfirmedListed) << "no file name";
    EXPECT_EQ(list().litem[3].iInMenu, kStatePrinterConfirmedListed);
    EXPECT_EQ(list().iNum, 4);
}

TEST_F(ListOpsTest, CountRepairClearsFromTheCountedNumberOn) {
    list().litem[0] = makeEntry(1, 6, "a");
    list().litem[2] = makeEntry(3, 6, "c");  // a hole before it
    list().iNum = 3;
    ZTPlistCheckWithInMenu_Dict(&list());
    EXPECT_EQ(list().iNum, 2);
    EXPECT_EQ(list().litem[2].iInMenu, 0) << "the entry past the counted number goes";
    EXPECT_EQ(list().litem[2].FileName[0], '\0');
}

TEST_F(ListOpsTest, CountRepairLeavesAMatchingCount) {
    list().litem[0] = makeEntry(1, 6, "a");
    list().litem[1].iIndexOnDevice = 77;  // stray field of an empty slot
    list().iNum = 1;
    ZTPlistCheckWithInMenu_Dict(&list());
    EXPECT_EQ(list().litem[1].iIndexOnDevice, 77);
}

TEST_F(ListOpsTest, MergeSequenceKeepsListedEntriesPacked) {
    list().litem[0] = makeEntry(0, kStatePrinterConfirmed, "gone");
    list().litem[1] = makeEntry(0, kStatePrinterConfirmedListed, "kept");
    list().litem[2] = makeEntry(4, kStatePrinterUnconfirmedListed, "walked");
    list().iNum = 3;
    ZTPListCleanProfile_Dict(&list());
    ZTPListPaddingProfile_Dict(&list());
    ZTPListSalvage_Dict(&list());
    EXPECT_EQ(list().iNum, 2);
    EXPECT_STREQ(list().litem[0].FileName, "kept");
    EXPECT_EQ(list().litem[0].iIndexOnDevice, 501);
    EXPECT_EQ(list().litem[0].iInMenu, kStateUserAddedListed);
    EXPECT_STREQ(list().litem[1].FileName, "walked");
    EXPECT_EQ(list().litem[1].iInMenu, kStateUserAddedListed);
}

}  // namespace
}  // namespace t48::store::testing
