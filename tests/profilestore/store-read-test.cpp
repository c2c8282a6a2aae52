// Reading the profile file: key checks, slot values, the 31-byte cut, the count repair.

#include <cstring>

#include "plist-text.hpp"
#include "profile-plist.hpp"
#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

class ReadTest : public StoreTest {};

TEST_F(ReadTest, WrittenListsReadBackWithoutDriverAvail) {
    Lists out;
    ProfileEntry entry = makeEntry(-12, kStateUserAddedListed, "custom.icc", "Custom", 5);
    entry.iDriver = 3;
    append(&out.rgb(), entry);
    append(&out.dst(), makeEntry(7, kStatePrinterConfirmed, "dst.icc"));
    ASSERT_EQ(out.write(), kStoreOK);

    Lists in;
    ASSERT_EQ(in.read(), kStoreOK);
    EXPECT_EQ(in.rgb().iNum, 1);
    EXPECT_EQ(in.rgb().litem[0].iIndexOnDevice, -12);
    EXPECT_EQ(in.rgb().litem[0].iLocation, 5);
    EXPECT_STREQ(in.rgb().litem[0].ProfileName, "Custom");
    EXPECT_EQ(in.rgb().litem[0].iDriver, 0) << "DriverAvail is never stored";
    EXPECT_EQ(in.sim().iNum, 0);
    EXPECT_EQ(in.dst().iNum, 1);
    EXPECT_STREQ(in.dst().litem[0].FileName, "dst.icc");
}

TEST_F(ReadTest, FileLackingOneSubDictionaryTouchesNoList) {
    writeText(current_, fileXml(ClassXml().entry(0, 4, "rgb.icc").count(1),
                                ClassXml().drop("ProfileName"), ClassXml()));
    Lists lists;
    lists.rgb().litem[0].iInMenu = 9;
    lists.rgb().iNum = 77;
    EXPECT_EQ(lists.read(), kStoreFailed);
    EXPECT_EQ(lists.rgb().litem[0].iInMenu, 9);
    EXPECT_EQ(lists.rgb().iNum, 77);
    EXPECT_EQ(ZTPListReadProfile_Dict(&lists.rgb(), kClassRGB), kStoreOK)
        << "the RGB class alone is complete";
    EXPECT_EQ(ZTPListReadProfile_Dict(&lists.sim(), kClassSIM), kStoreFailed);
}

struct BadFile {
    const char* what;
    std::string text;
};
ClassXml arrayInPlaceOf(const std::string& field) {
    ClassXml broken;
    broken.drop(field).extra = "<key>" + field + "</key><array/>";
    return broken;
}

class RejectedFileTest : public StoreTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(RejectedFileTest, IsRejectedAsAWhole) {
    writeText(current_, GetParam().text);
    Lists lists;
    lists.sim().iNum = 5;
    EXPECT_EQ(lists.read(), kStoreFailed) << GetParam().what;
    EXPECT_EQ(lists.sim().iNum, 5);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RejectedFileTest,
    ::testing::Values(
        BadFile{"empty file", ""}, BadFile{"not XML", "RGB SIM DST"},
        BadFile{"root is an array", "<plist version=\"1.0\"><array/></plist>"},
        BadFile{"no DST",
                rootXml("<key>RGB</key>" + ClassXml().xml() + "<key>SIM</key>" + ClassXml().xml())},
        BadFile{"class is a string",
                rootXml("<key>RGB</key><string>x</string><key>SIM</key>" + ClassXml().xml() +
                        "<key>DST</key>" + ClassXml().xml())},
        BadFile{"sub-dictionary is an array",
                fileXml(ClassXml(), arrayInPlaceOf("Location"), ClassXml())},
        BadFile{"DST lacks InMenu", fileXml(ClassXml(), ClassXml(), ClassXml().drop("InMenu"))},
        BadFile{"truncated", fileXml(ClassXml(), ClassXml(), ClassXml()).substr(0, 200)}));

TEST_F(ReadTest, MissingFileIsRejected) {
    Lists lists;
    EXPECT_EQ(lists.read(), kStoreFailed);
    EXPECT_EQ(ZTPListReadProfile_Dict(&lists.rgb(), kClassRGB), kStoreFailed);
}

TEST_F(ReadTest, ClassIndexOutsideTheThreeIsRejected) {
    Lists out;
    ASSERT_EQ(out.write(), kStoreOK);
    EXPECT_EQ(ZTPListReadProfile_Dict(&out.rgb(), 3), kStoreFailed);
    EXPECT_EQ(ZTPListReadProfile_Dict(&out.rgb(), -1), kStoreFailed);
}

TEST_F(ReadTest, CountRepairTrustsTheSlotsOverINum) {
    ClassXml rgb;
    for (int slot = 0; slot < 5; ++slot) {
        rgb.entry(slot, 6, "f" + std::to_string(slot));
    }
    writeText(current_, fileXml(rgb.count(7), ClassXml(), ClassXml()));
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_EQ(lists.rgb().iNum, 5);
    for (int slot = 5; slot < kProfileSlots; ++slot) {
        ASSERT_EQ(lists.rgb().litem[slot].iInMenu, 0) << "slot " << slot;
    }
}

TEST_F(ReadTest, MissingINumIsSetByTheRepair) {
    writeText(current_,
              fileXml(ClassXml().entry(0, 6, "a").entry(1, 3, "b"), ClassXml(), ClassXml()));
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_EQ(lists.rgb().iNum, 2);
}

TEST_F(ReadTest, ReadersLeaveFieldsWithoutKeysAlone) {
    writeText(current_,
              fileXml(ClassXml().set("InMenu", 0, integerXml(6)).count(1), ClassXml(), ClassXml()));
    Lists lists;
    std::strcpy(lists.rgb().litem[0].FileName, "kept.icc");
    lists.rgb().litem[0].iLocation = 5;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_STREQ(lists.rgb().litem[0].FileName, "kept.icc");
    EXPECT_EQ(lists.rgb().litem[0].iLocation, 5);
    EXPECT_EQ(lists.rgb().litem[0].iInMenu, 6);
}

TEST_F(ReadTest, PlistVersionIsIgnored) {
    for (const std::string& version :
         {std::string("<key>PlistVersion</key><integer>2</integer>"), std::string()}) {
        writeText(current_,
                  fileXml(ClassXml().entry(0, 6, "a").count(1), ClassXml(), ClassXml(), version));
        Lists lists;
        ASSERT_EQ(lists.read(), kStoreOK) << version;
        EXPECT_EQ(lists.rgb().iNum, 1);
    }
}

struct StoredName {
    const char* what;
    std::string stored;
    std::string read;
};
class NameCutTest : public StoreTest, public ::testing::WithParamInterface<StoredName> {};

TEST_P(NameCutTest, KeepsAtMost31BytesOfWholeCharacters) {
    writeText(current_, fileXml(ClassXml()
                                    .entry(0, 6, GetParam().stored)
                                    .set("ProfileName", 0, stringXml(GetParam().stored))
                                    .count(1),
                                ClassXml(), ClassXml()));
    Lists lists;
    std::memset(lists.rgb().litem[0].FileName, 'x', kProfileTextSize);
    ASSERT_EQ(lists.read(), kStoreOK);
    const ProfileEntry& entry = lists.rgb().litem[0];
    EXPECT_EQ(std::string(entry.FileName), GetParam().read) << GetParam().what;
    EXPECT_EQ(std::string(entry.ProfileName), GetParam().read) << GetParam().what;
    for (std::size_t i = GetParam().read.size(); i < kProfileTextSize; ++i) {
        EXPECT_EQ(entry.FileName[i], '\0') << "byte " << i << " of the field";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameCutTest,
    ::testing::Values(StoredName{"40 ASCII", std::string(40, 'a'), std::string(31, 'a')},
                      StoredName{"exactly 31", std::string(31, 'b'), std::string(31, 'b')},
                      // 30 ASCII bytes then a 2-byte character: byte 31 would split it.
                      StoredName{"cut inside a character", std::string(30, 'c') + "\xC3\xA9z",
                                 std::string(30, 'c')},
                      // 28 + a 3-byte character = 31 bytes: kept whole.
                      StoredName{"ends on a boundary", std::string(28, 'd') + "\xE2\x82\xAC!",
                                 std::string(28, 'd') + "\xE2\x82\xAC"},
                      StoredName{"empty", "", ""}));

TEST_F(ReadTest, NameCutOnAWholeCharacterSurvivesTheNextSave) {
    std::string stored = std::string(30, 'n') + "\xC3\xA9";  // 32 bytes
    writeText(current_, fileXml(ClassXml().entry(0, 6, stored).count(1), ClassXml(), ClassXml()));
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    ASSERT_EQ(lists.write(), kStoreOK);
    Lists again;
    ASSERT_EQ(again.read(), kStoreOK);
    EXPECT_EQ(std::string(again.rgb().litem[0].FileName), std::string(30, 'n'));
}

struct OddValue {
    const char* field;
    std::string valueXml;
};
class WrongValueTest : public StoreTest, public ::testing::WithParamInterface<OddValue> {};

TEST_P(WrongValueTest, IsReadAsAMissingKey) {
    writeText(current_, fileXml(ClassXml()
                                    .entry(0, 6, "keep")
                                    .set("IndexOnDevice", 0, integerXml(3))
                                    .set(GetParam().field, 1, GetParam().valueXml)
                                    .count(1),
                                ClassXml(), ClassXml()));
    Lists lists;
    lists.rgb().litem[1].iIndexOnDevice = 41;
    std::strcpy(lists.rgb().litem[1].FileName, "before");
    lists.rgb().litem[1].iLocation = 42;
    ASSERT_EQ(lists.read(), kStoreOK);
    const ProfileEntry& slot1 = lists.rgb().litem[1];
    EXPECT_EQ(slot1.iIndexOnDevice, 41);
    EXPECT_STREQ(slot1.FileName, "before");
    EXPECT_EQ(slot1.iLocation, 42);
    EXPECT_EQ(lists.rgb().iNum, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WrongValueTest,
    ::testing::Values(OddValue{"IndexOnDevice", stringXml("12")},
                      OddValue{"IndexOnDevice", "<real>1.5</real>"},
                      OddValue{"IndexOnDevice", integerXml(4294967296LL)},
                      OddValue{"IndexOnDevice", integerXml(-2147483649LL)},
                      OddValue{"Location", "<true/>"}, OddValue{"FileName", integerXml(5)},
                      OddValue{"FileName", "<dict/>"},
                      OddValue{"FileName", stringXml("bad\xC3(utf8")},
                      OddValue{"FileName", stringXml("\xED\xA0\x80surrogate")}));

TEST_F(ReadTest, Int32ExtremesReadBack) {
    writeText(current_, fileXml(ClassXml()
                                    .entry(0, 6, "a")
                                    .set("IndexOnDevice", 0, integerXml(-2147483648LL))
                                    .set("Location", 0, integerXml(2147483647LL))
                                    .count(1),
                                ClassXml(), ClassXml()));
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_EQ(lists.rgb().litem[0].iIndexOnDevice, INT32_MIN);
    EXPECT_EQ(lists.rgb().litem[0].iLocation, INT32_MAX);
}

TEST_F(ReadTest, SlotKeysOutsideTheSlotRangeAreIgnored) {
    writeText(current_, fileXml(ClassXml()
                                    .entry(0, 6, "a")
                                    .set("InMenu", 500, integerXml(6))
                                    .set("FileName", 9999, stringXml("far"))
                                    .set("Location", 0, integerXml(5))
                                    .count(1),
                                ClassXml(), ClassXml()));
    std::string text = fileText(current_);
    // Keys with a fifth digit or a sign are not slot keys either.
    text.replace(
        text.find("<key>InMenu0000</key>"), 0,
        "<key>InMenu00001</key><integer>2</integer><key>InMenu-001</key><integer>2</integer>");
    writeText(current_, text);
    Lists lists;
    ASSERT_EQ(lists.read(), kStoreOK);
    EXPECT_EQ(lists.rgb().iNum, 1);
    EXPECT_EQ(lists.rgb().litem[0].iInMenu, 6);
}

TEST(ReadDictionaryEntryTest, ReadsOnlyValuesOfTheRightType) {
    ProfileList list{};
    append(&list, makeEntry(9, kStateUserAddedListed, "file.icc", "Name", 5));
    plist_t classDict = nullptr;
    plist_t indexes = nullptr;
    plist_t names = nullptr;
    plist_t wrapper = CreatePropsDictionary(kClassSIM, &list, &classDict, &indexes, nullptr,
                                            nullptr, nullptr, &names, nullptr);
    int32_t value = -1;
    ReadDictionaryIntEntry(indexes, "IndexOnDevice0000", &value);
    EXPECT_EQ(value, 9);
    ReadDictionaryIntEntry(indexes, "IndexOnDevice0500", &value);
    EXPECT_EQ(value, 9) << "missing key leaves the destination";
    char text[kProfileTextSize] = "old";
    ReadDictionaryStringEntry(names, "FileName0000", text);
    EXPECT_STREQ(text, "file.icc");
    ReadDictionaryIntEntry(names, "FileName0000", &value);
    EXPECT_EQ(value, 9) << "a string is not an integer";

    plist_t sub[6] = {};
    int32_t count = -1;
    EXPECT_EQ(ZTPListMappingGetSubDict(classDict, &sub[0], &sub[1], &sub[2], &sub[3], &sub[4],
                                       &sub[5], &count),
              kStoreOK);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(sub[4], names);
    releasePropertyList(classDict);
    releasePropertyList(wrapper);
}

}  // namespace
}  // namespace t48::store::testing
