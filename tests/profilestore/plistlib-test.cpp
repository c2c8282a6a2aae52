// The file format checked by an independent implementation: Python's plistlib reads
// what the store writes, and the store reads what plistlib writes.

#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

using t48::testing::runProgram;
using t48::testing::sourceDir;

// Entries as the check script's JSON has them.
const char* const kEntriesJson = R"({
  "RGB": [{"IndexOnDevice": 3, "InMenu": 4, "ProfileClass": 1, "Location": 4,
           "FileName": "a<&>'\".icc", "ProfileName": "Caf\u00e9 \u20ac\ud83d\ude00"},
          {"IndexOnDevice": -2147483648, "InMenu": 6, "ProfileClass": 2, "Location": 2147483647,
           "FileName": "tab\there", "ProfileName": ""}],
  "SIM": [],
  "DST": [{"IndexOnDevice": 501, "InMenu": 3, "ProfileClass": 3, "Location": 5,
           "FileName": "  spaced  ", "ProfileName": "line\nbreak"}]
})";

void fillExpectedLists(Lists* lists) {
    append(&lists->rgb(),
           makeEntry(3, 4, "a<&>'\".icc", "Caf\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x98\x80", 4));
    lists->rgb().litem[0].iProfileClass = 1;
    append(&lists->rgb(), makeEntry(INT32_MIN, 6, "tab\there", "", INT32_MAX));
    append(&lists->dst(), makeEntry(501, 3, "  spaced  ", "line\nbreak", 5));
    lists->dst().litem[0].iProfileClass = 3;
}

class PlistlibTest : public StoreTest {
protected:
    t48::testing::RunResult script(const char* command) {
        return runProgram({"/usr/bin/python3",
                           sourceDir() + "/tests/profilestore/plistlib-check.py", command, current_,
                           kEntriesJson});
    }
};

TEST_F(PlistlibTest, ReadsEveryKeyAndValueTheStoreWrites) {
    Lists lists;
    fillExpectedLists(&lists);
    ASSERT_EQ(lists.write(), kStoreOK);
    auto result = script("check");
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
    EXPECT_NE(result.out.find("OK"), std::string::npos) << result.out;
}

TEST_F(PlistlibTest, FindsAnEmptyListWrittenInFull) {
    Lists lists;
    ASSERT_EQ(lists.write(), kStoreOK);
    auto result =
        runProgram({"/usr/bin/python3", sourceDir() + "/tests/profilestore/plistlib-check.py",
                    "check", current_, "{}"});
    EXPECT_EQ(result.exitStatus, 0) << result.out << result.err;
}

TEST_F(PlistlibTest, StoreReadsWhatPlistlibWrites) {
    auto result = script("write");
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    Lists read;
    ASSERT_EQ(read.read(), kStoreOK);
    Lists expected;
    fillExpectedLists(&expected);
    for (int c = 0; c < kProfileClassCount; ++c) {
        ASSERT_EQ(read[c].iNum, expected[c].iNum) << "class " << c;
        for (int slot = 0; slot < kProfileSlots; ++slot) {
            const ProfileEntry& got = read[c].litem[slot];
            const ProfileEntry& want = expected[c].litem[slot];
            ASSERT_EQ(got.iIndexOnDevice, want.iIndexOnDevice) << c << "/" << slot;
            ASSERT_EQ(got.iInMenu, want.iInMenu) << c << "/" << slot;
            ASSERT_EQ(got.iProfileClass, want.iProfileClass) << c << "/" << slot;
            ASSERT_EQ(got.iLocation, want.iLocation) << c << "/" << slot;
            ASSERT_STREQ(got.FileName, want.FileName) << c << "/" << slot;
            ASSERT_STREQ(got.ProfileName, want.ProfileName) << c << "/" << slot;
        }
    }
}

TEST_F(PlistlibTest, UnstorableTextIsLeftOutNotWritten) {
    Lists lists;
    append(&lists.rgb(), makeEntry(1, 6, "bad\xC3(", "ctl\x01"));
    ASSERT_EQ(lists.write(), kStoreOK);
    auto result = runProgram({"/usr/bin/python3", "-c",
                              "import plistlib,sys\n"
                              "d=plistlib.load(open(sys.argv[1],'rb'))['RGB']\n"
                              "print('FileName0000' in d['FileName'], 'ProfileName0000' in "
                              "d['ProfileName'], len(d['FileName']))",
                              current_});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.out, "False False 499\n");
}

}  // namespace
}  // namespace t48::store::testing
