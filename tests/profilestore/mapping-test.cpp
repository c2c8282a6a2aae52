// The mapping for queues that are never walked: hidden confirmed entries survive saves.

#include "plist-text.hpp"
#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

class MappingTest : public StoreTest {
protected:
    // A file whose DST list holds the states 4, 2, 6 in slots 0 to 2.
    void writeFileWithStates426() {
        Lists lists;
        append(&lists.dst(), makeEntry(1, kStatePrinterConfirmedListed, "four.icc"));
        append(&lists.dst(), makeEntry(2, kStatePrinterConfirmed, "two.icc"));
        append(&lists.dst(), makeEntry(506, kStateUserAddedListed, "six.icc"));
        ASSERT_EQ(lists.write(), kStoreOK);
    }
    Lists deleted_;
};

TEST_F(MappingTest, ReadHidesConfirmedUnlistedEntriesAndShowsListedOnesAsUserEntries) {
    writeFileWithStates426();
    Lists window;
    ASSERT_EQ(ZTPListReadProfile_Dict_Pap(&window.dst(), kClassDST), kStoreOK);
    EXPECT_EQ(window.dst().iNum, 2);
    EXPECT_STREQ(window.dst().litem[0].FileName, "four.icc");
    EXPECT_EQ(window.dst().litem[0].iInMenu, kStateUserAddedListed);
    EXPECT_STREQ(window.dst().litem[1].FileName, "six.icc");
    EXPECT_EQ(window.dst().litem[1].iInMenu, kStateUserAddedListed);
    EXPECT_EQ(window.dst().litem[2].iInMenu, 0);
    EXPECT_EQ(ZTPListReadProfile_Dict_Pap(&window.dst(), 5), kStoreFailed);
}

TEST_F(MappingTest, ReadSkipsOnlySlotsWhoseStateReadsAs2) {
    ClassXml dst;
    dst.set("FileName", 0, stringXml("a"))  // no state key: nothing skipped or changed
        .set("InMenu", 1, stringXml("2"))   // not an integer: read as missing
        .set("FileName", 1, stringXml("b"))
        .entry(2, kStateUserAddedListed, "c")
        .count(3);
    writeText(current_, fileXml(ClassXml(), ClassXml(), dst));
    Lists window;
    window.dst().litem[0].iInMenu = kStatePrinterConfirmedListed;
    window.dst().litem[1].iInMenu = kStatePrinterConfirmed;
    ASSERT_EQ(ZTPListReadProfile_Dict_Pap(&window.dst(), kClassDST), kStoreOK);
    EXPECT_EQ(window.dst().iNum, 3);
    EXPECT_STREQ(window.dst().litem[0].FileName, "a");
    EXPECT_EQ(window.dst().litem[0].iInMenu, kStatePrinterConfirmedListed);
    EXPECT_STREQ(window.dst().litem[1].FileName, "b");
    EXPECT_EQ(window.dst().litem[1].iInMenu, kStatePrinterConfirmed) << "kept, not read as 2";
    EXPECT_STREQ(window.dst().litem[2].FileName, "c");
}

TEST_F(MappingTest, SavingTheWindowUnchangedKeepsTheHiddenEntryFirst) {
    writeFileWithStates426();
    Lists window;
    ASSERT_EQ(ZTPListReadProfile_Dict_Pap(&window.dst(), kClassDST), kStoreOK);
    ASSERT_EQ(ZTPListWriteProfile_All_Pap(&window.rgb(), &window.sim(), &window.dst(),
                                          &deleted_.rgb(), &deleted_.sim(), &deleted_.dst()),
              kStoreOK);
    Lists file;
    ASSERT_EQ(file.read(), kStoreOK);
    ASSERT_EQ(file.dst().iNum, 3);
    EXPECT_STREQ(file.dst().litem[0].FileName, "two.icc");
    EXPECT_EQ(file.dst().litem[0].iInMenu, kStatePrinterConfirmed);
    EXPECT_STREQ(file.dst().litem[1].FileName, "four.icc");
    EXPECT_EQ(file.dst().litem[1].iInMenu, kStateUserAddedListed);
    EXPECT_STREQ(file.dst().litem[2].FileName, "six.icc");
}

TEST_F(MappingTest, DeletedEntriesAreNotCarriedOver) {
    writeFileWithStates426();
    Lists window;
    ASSERT_EQ(ZTPListReadProfile_Dict_Pap(&window.dst(), kClassDST), kStoreOK);
    append(&deleted_.dst(), makeEntry(2, kStatePrinterConfirmed, "two.icc"));
    ASSERT_EQ(ZTPListWriteProfile_All_Pap(&window.rgb(), &window.sim(), &window.dst(),
                                          &deleted_.rgb(), &deleted_.sim(), &deleted_.dst()),
              kStoreOK);
    Lists file;
    ASSERT_EQ(file.read(), kStoreOK);
    EXPECT_EQ(file.dst().iNum, 2);
    EXPECT_STREQ(file.dst().litem[0].FileName, "four.icc");
}

TEST_F(MappingTest, SameNameAtAnotherLocationIsAnotherEntry) {
    ProfileList file{}, window{}, out{}, deleted{};
    append(&file, makeEntry(1, kStatePrinterConfirmed, "p.icc", "n", 4));
    append(&window, makeEntry(2, kStateUserAddedListed, "p.icc", "n", 5));
    ZTPListMapping_Pap(&window, &file, &out, &deleted);
    EXPECT_EQ(out.iNum, 2);
    EXPECT_EQ(out.litem[0].iLocation, 4);
    EXPECT_EQ(out.litem[1].iLocation, 5);
}

class NotCarriedStateTest : public ::testing::TestWithParam<int32_t> {};

TEST_P(NotCarriedStateTest, FileEntryTheWindowNoLongerHoldsIsDropped) {
    ProfileList file{}, window{}, out{}, deleted{};
    append(&file, makeEntry(1, GetParam(), "gone.icc"));
    append(&window, makeEntry(2, kStateUserAddedListed, "kept.icc"));
    EXPECT_EQ(ZTPListMapping_Pap(&window, &file, &out, &deleted), 1);
    ASSERT_EQ(out.iNum, 1);
    EXPECT_STREQ(out.litem[0].FileName, "kept.icc");
}

INSTANTIATE_TEST_SUITE_P(States, NotCarriedStateTest, ::testing::Values(1, 3, 5, 6));

TEST(MappingLimitTest, StopsAt500WithTheFilesKeptEntriesFirst) {
    auto file = std::make_unique<ProfileList>();
    auto window = std::make_unique<ProfileList>();
    auto out = std::make_unique<ProfileList>();
    auto deleted = std::make_unique<ProfileList>();
    for (int i = 0; i < 300; ++i) {
        append(file.get(),
               makeEntry(i + 1, kStatePrinterConfirmed, ("file" + std::to_string(i)).c_str()));
        append(window.get(),
               makeEntry(i + 501, kStateUserAddedListed, ("window" + std::to_string(i)).c_str()));
    }
    ZTPListMapping_Pap(window.get(), file.get(), out.get(), deleted.get());
    EXPECT_EQ(out->iNum, 500);
    EXPECT_STREQ(out->litem[299].FileName, "file299");
    EXPECT_STREQ(out->litem[300].FileName, "window0");
    EXPECT_STREQ(out->litem[499].FileName, "window199");
}

TEST_F(MappingTest, UnreadableFileMapsAsEmpty) {
    writeText(current_, "not a property list");
    Lists window, out;
    append(&window.rgb(), makeEntry(501, kStateUserAddedListed, "w.icc"));
    EXPECT_EQ(ZTPListMappingProfile_All_Pap(&window.rgb(), &window.sim(), &window.dst(), &out.rgb(),
                                            &out.sim(), &out.dst(), &deleted_.rgb(),
                                            &deleted_.sim(), &deleted_.dst()),
              kStoreOK);
    EXPECT_EQ(out.rgb().iNum, 1);
    EXPECT_EQ(out.dst().iNum, 0);
}

}  // namespace
}  // namespace t48::store::testing
