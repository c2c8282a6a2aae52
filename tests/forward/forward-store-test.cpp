// The panel's side of the store: every write, removal, backup and write test through
// the real T48Helper and the real xpcservice under a test root; faults that the real
// helper cannot show through test doubles at the helper's path (helper-doubles.hpp).

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <list>
#include <memory>

#include "helper-doubles.hpp"
#include "helper-request.hpp"
#include "profile-plist.hpp"
#include "profile-store.hpp"
#include "service-fixture.hpp"
#include "split-char-every.hpp"
#include "system-paths.hpp"
#include "test-profile-lists.hpp"

namespace t48::testing {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using store::panel::splitCharEvery;

// --- splitCharEvery ---

struct SplitCase {
    const char* name;
    std::string text;
    std::size_t n;
    std::vector<std::string> pieces;
};

class SplitCharEvery : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCharEvery, CutsIntoPiecesOfNCodeUnitsFromTheFront) {
    const SplitCase& c = GetParam();
    std::vector<std::string> pieces = splitCharEvery(c.text, c.n);
    ASSERT_EQ(pieces.size(), c.pieces.size());
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i], c.pieces[i]) << "piece " << i;
    }
}

const std::string k90000(90000, 'a');

INSTANTIATE_TEST_SUITE_P(
    Texts, SplitCharEvery,
    ::testing::Values(SplitCase{"Exactly90000IsOnePiece", k90000, 90000, {k90000}},
                      SplitCase{"OneMoreIsTwo", k90000 + "b", 90000, {k90000, "b"}},
                      SplitCase{"TwiceTheSize", k90000 + k90000, 90000, {k90000, k90000}},
                      SplitCase{"EmptyTextIsItself", "", 90000, {""}},
                      SplitCase{"ShortTextIsItself", "abc", 5, {"abc"}},
                      // é is one UTF-16 code unit but two UTF-8 bytes.
                      SplitCase{"CountsCodeUnitsNotBytes",
                                "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9",
                                2,
                                {"\xc3\xa9\xc3\xa9", "\xc3\xa9\xc3\xa9", "\xc3\xa9"}},
                      // U+1F600 takes two code units and is never torn apart.
                      SplitCase{"KeepsSurrogatePairsWhole",
                                "a\xf0\x9f\x98\x80"
                                "b",
                                2,
                                {"a", "\xf0\x9f\x98\x80", "b"}},
                      SplitCase{"ZeroGivesNoPieces", "abc", 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- through the real helper and service ---

// root's current file under the filesystem root `root`.
std::string currentFileUnder(const std::string& root) {
    return root + std::string(t48::installedPath(t48::SystemPath::kPreferencesFolder)) +
           "/root-T48-profile.plist";
}

std::unique_ptr<store::ProfileList[]> lists(int seed) {
    auto made = std::make_unique<store::ProfileList[]>(store::kProfileClassCount);
    fillProfileLists(seed, made.get());
    return made;
}

int save(int seed) {
    auto three = lists(seed);
    return store::ZTPListWriteProfile_All(&three[0], &three[1], &three[2]);
}

std::size_t chunkCount(int seed) {
    auto three = lists(seed);
    std::string xml;
    EXPECT_EQ(store::detail::serializeProfileLists(&three[0], &three[1], &three[2], &xml),
              store::kStoreOK);
    return (store::panel::utf16Length(xml) + 89999) / 90000;
}

class ForwardedStore : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& entry : root_.environment()) {
            putenv(const_cast<char*>(env_.emplace_back(entry).c_str()));
        }
        ASSERT_TRUE(root_.startService());
        real_ = moveHelperAside(root_.helperPath());
        installSpy(root_.helperPath(), real_, log());
    }
    void TearDown() override {
        unsetenv("T48_ROOT");
        unsetenv("T48_XPC_SOCKET");
    }
    std::string log() const { return root_.root() + "/helper-runs.log"; }
    std::vector<std::string> runs() {
        std::vector<std::string> lines = loggedRuns(log());
        std::remove(log().c_str());
        return lines;
    }
    static std::vector<std::string> saveRuns(std::size_t chunks) {
        std::vector<std::string> expected = {"ztPListIsAdminProfile_XPC"};
        expected.insert(expected.end(), chunks, "writeDataToPlistFile_XPC");
        expected.push_back("writeDataToPlistFileRename_XPC");
        return expected;
    }

    ServiceRoot root_;
    std::string real_;
    std::list<std::string> env_;
};

TEST_F(ForwardedStore, FullSaveIsOneWriteTestItsChunksAndOneRenameAndMatchesTheServiceSide) {
    const std::size_t chunks = chunkCount(1);
    ASSERT_GT(chunks, 2u) << "a full file should need several chunks";
    ASSERT_EQ(save(1), store::kStoreOK);
    EXPECT_EQ(runs(), saveRuns(chunks));

    TempDir serviceSide;
    RunResult written =
        runProgram({binaryDir() + "/tests/forward/service-side-save", serviceSide.path(), "1"});
    ASSERT_EQ(written.exitStatus, 0) << written.err;
    const std::string expected = readFile(currentFileUnder(serviceSide.path()));
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(readFile(root_.currentPath()) == expected)
        << "the forwarded save differs from the service side's file";

    auto readBack = std::make_unique<store::ProfileList[]>(store::kProfileClassCount);
    EXPECT_EQ(store::ZTPListReadProfile_All(&readBack[0], &readBack[1], &readBack[2]),
              store::kStoreOK);
    EXPECT_STREQ(readBack[2].litem[499].FileName, "S1-C2-499.ICC");
}

TEST_F(ForwardedStore, ChunkAnsweredWithoutItsMarkerStopsTheSaveAndKeepsTheCurrentFile) {
    ASSERT_EQ(save(1), store::kStoreOK);
    const std::string before = readFile(root_.currentPath());
    runs();
    // The second chunk run prints nothing, as a helper that lost its service would.
    installSpy(root_.helperPath(), real_, log(),
               "if [ \"$1\" = writeDataToPlistFile_XPC ] && "
               "[ \"$(grep -c '^writeDataToPlistFile_XPC$' '" +
                   log() + "')\" = 2 ]; then exit 0; fi");
    EXPECT_EQ(save(2), store::kStoreFailed);
    EXPECT_EQ(runs(),
              (std::vector<std::string>{"ztPListIsAdminProfile_XPC", "writeDataToPlistFile_XPC",
                                        "writeDataToPlistFile_XPC"}));
    EXPECT_TRUE(readFile(root_.currentPath()) == before) << "the current file changed";

    // The chunks left behind do not spoil the next save.
    installSpy(root_.helperPath(), real_, log());
    ASSERT_EQ(save(2), store::kStoreOK);
    TempDir serviceSide;
    ASSERT_EQ(
        runProgram({binaryDir() + "/tests/forward/service-side-save", serviceSide.path(), "2"})
            .exitStatus,
        0);
    EXPECT_TRUE(readFile(root_.currentPath()) == readFile(currentFileUnder(serviceSide.path())));
}

TEST_F(ForwardedStore, RemovalStartsTheHelperTwice) {
    ASSERT_EQ(save(1), store::kStoreOK);
    runs();
    EXPECT_EQ(store::ZTPListExistProfile(), 1);
    EXPECT_EQ(runs(),
              (std::vector<std::string>{"ztPListIsAdminProfile_XPC", "ztPListExistProfile_XPC"}));
    EXPECT_EQ(store::ZTPListRemove(store::kRemoveCurrent), 1);
    EXPECT_EQ(runs(), (std::vector<std::string>{"ztPListIsAdminProfile_XPC", "ztPListRemove_XPC"}));
    EXPECT_FALSE(fileExists(root_.currentPath()));
    EXPECT_EQ(store::ZTPListExistProfile(), 0);
    runs();
    // Any other choice: the write test only.
    EXPECT_EQ(store::ZTPListRemove(1), 0);
    EXPECT_EQ(runs(), (std::vector<std::string>{"ztPListIsAdminProfile_XPC"}));
}

TEST_F(ForwardedStore, BackupCopiesTheCurrentFileToThePreviousFile) {
    ASSERT_EQ(save(3), store::kStoreOK);
    runs();
    store::ZTPListSwapProfile(store::kSwapBackupCurrent);
    EXPECT_EQ(runs(),
              (std::vector<std::string>{"ztPListIsAdminProfile_XPC", "ztPListSwapProfile_XPC"}));
    EXPECT_TRUE(readFile(root_.previousPath()) == readFile(root_.currentPath()));
    EXPECT_FALSE(readFile(root_.previousPath()).empty());
}

}  // namespace
}  // namespace t48::testing
