// The profile popups' stored-profile items and their ticket entries, over the real
// panel, the real sample PPD and a profile file written by the store under a test root.

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "added-profile.hpp"
#include "panel-test-support.hpp"
#include "pde-common.hpp"
#include "pde-plugin.hpp"
#include "profile-plist.hpp"
#include "store-fixture.hpp"

namespace {

using namespace t48::pde;
using t48::cf::Value;
using t48::cf::ValueRef;
using t48::store::kStoreOK;
using t48::store::ProfileList;
using t48::store::testing::append;
using t48::store::testing::Lists;
using t48::store::testing::makeEntry;
using t48::testing::dataPath;
using t48::testing::samplePPDPath;
using t48::testing::TempDir;
using t48::testing::TestHost;

const std::string kDiskFolder = "/ata1a/data/USfiles/Profiles/";
const std::string kCardFolder = "/ataCf1a/data/USfiles/Profiles/";

// --- The path encoding ---

TEST(AddedProfilePath, EveryByteValueRoundTrips) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes += static_cast<char>(b);
    }
    const std::string text = encodeAddedProfilePath(bytes);
    ASSERT_EQ(text.size(), 512u);
    for (const char c : text) {
        EXPECT_TRUE(c >= '0' && c <= '?') << "character " << static_cast<int>(c);
    }
    EXPECT_EQ(text.substr(0, 4), "0001");
    EXPECT_EQ(text.substr(510), "??");
    EXPECT_EQ(decodeAddedProfilePath(text), bytes);
}

TEST(AddedProfilePath, DiskFolderEncodesSlashAsTwoQuestionMarkAnd29BytesAs58Characters) {
    ASSERT_EQ(kDiskFolder.size(), 29u);
    const std::string text = encodeAddedProfilePath(kDiskFolder);
    EXPECT_EQ(text.size(), 58u);
    EXPECT_EQ(text.substr(0, 2), "2?");
    EXPECT_EQ(text, "2?61746131612?646174612?555366696<65732?50726?66696<65732?");
}

TEST(AddedProfilePath, TextNoEncodingMakesDecodesToNothing) {
    EXPECT_EQ(decodeAddedProfilePath(""), std::string());
    EXPECT_FALSE(decodeAddedProfilePath("2?6")) << "odd length";
    EXPECT_FALSE(decodeAddedProfilePath("2@")) << "'@' follows '?'";
    EXPECT_FALSE(decodeAddedProfilePath("/1")) << "'/' precedes '0'";
    EXPECT_FALSE(decodeAddedProfilePath(std::string("2\0", 2)));
    EXPECT_FALSE(decodeAddedProfilePath("\xC3\xA9"));
}

// The decoder works pair by pair, so trying every pair of byte values covers it: a pair
// decodes exactly when an encoding can have made it, and then encodes back to itself.
TEST(AddedProfilePath, EveryPairOfCharactersDecodesOnlyWhenEncodingMakesIt) {
    int decoded = 0;
    for (int first = 0; first < 256; ++first) {
        for (int second = 0; second < 256; ++second) {
            const std::string pair = {static_cast<char>(first), static_cast<char>(second)};
            const std::optional<std::string> bytes = decodeAddedProfilePath(pair);
            const bool digits = first >= '0' && first <= '?' && second >= '0' && second <= '?';
            ASSERT_EQ(bytes.has_value(), digits) << first << " " << second;
            if (bytes) {
                ++decoded;
                ASSERT_EQ(bytes->size(), 1u);
                ASSERT_EQ(encodeAddedProfilePath(*bytes), pair);
            }
        }
    }
    EXPECT_EQ(decoded, 256);
}

struct PathCase {
    int32_t location;
    std::string path;
};
class AddedProfilePathOfEntry : public ::testing::TestWithParam<PathCase> {};

TEST_P(AddedProfilePathOfEntry, IsTheLocationsFolderAndTheFileName) {
    const auto entry = makeEntry(1, 4, "a.icc", "A", GetParam().location);
    EXPECT_EQ(addedProfilePath(entry), GetParam().path);
}
INSTANTIATE_TEST_SUITE_P(Locations, AddedProfilePathOfEntry,
                         ::testing::Values(PathCase{4, kDiskFolder + "a.icc"},
                                           PathCase{5, kCardFolder + "a.icc"}, PathCase{0, "a.icc"},
                                           PathCase{6, "a.icc"}, PathCase{-4, "a.icc"}));

TEST(AddedProfilePath, FileNameFillingItsFieldStopsAtTheField) {
    auto entry = makeEntry(1, 4, "", "A", 0);
    std::memset(entry.FileName, 'x', sizeof entry.FileName);  // no terminator
    EXPECT_EQ(addedProfilePath(entry), std::string(32, 'x'));
}

// --- Menus and ticket entries over a real panel ---

// Record numbers (0-based) of the Advanced Color Options table.
constexpr int kImageRGBSource = 0;
constexpr int kImageDestination = 3;
constexpr int kTextRGBSource = 6;
constexpr int kSimulation = 18;
constexpr int kMatchPaperColor = 19;

class ProfileMenus : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("T48_ROOT", root.path().c_str(), 1);
        const std::string user = t48::store::realUserLoginName();
        ASSERT_FALSE(user.empty());
        ASSERT_EQ(t48::store::setServiceProfilePaths(user, "T48"), kStoreOK);
        ASSERT_TRUE(t48::store::createPreferencesFolder()) << t48::store::lastFolderRefusal();
        profileFile = t48::store::ZT_PLIST_PROFILE_PATH;
    }
    void TearDown() override { unsetenv("T48_ROOT"); }

    // The panel's store writes only through the helper: the file is written here as the
    // service writes it, the serialised lists whole.
    int writeFile() {
        std::string xml;
        int status = t48::store::detail::serializeProfileLists(&lists.rgb(), &lists.sim(),
                                                               &lists.dst(), &xml);
        t48::store::testing::writeText(profileFile, xml);
        return status;
    }
    // Writes the lists, then loads and restores a fresh panel.
    void writeAndLoad() {
        ASSERT_EQ(writeFile(), kStoreOK);
        load();
    }
    void load(const std::string& ppd = samplePPDPath()) {
        panel.reset();
        host = std::make_unique<TestHost>(ppd);
        panel = std::make_unique<PDEPlugInInterface>(host.get());
        panel->restoreValuesAndReturnError(nullptr);
        advanced = panel->onAdvancedView();
        ASSERT_NE(advanced, nullptr);
    }
    const PDEControlItem* record(int at) const { return &advanced->getControlData()[at]; }
    t48::ui::PopUpButton* popup(int at) const {
        return static_cast<t48::ui::PopUpButton*>(record(at)->control);
    }
    std::vector<std::string> items(int at) const {
        std::vector<std::string> titles;
        for (const auto& item : popup(at)->items()) {
            titles.push_back(item.title);
        }
        return titles;
    }
    void save() { advanced->setControlValueToTicket(); }
    void restore() { advanced->getControlValueFromTicket(); }
    ValueRef model() {
        return PDECommon::commonGetModelDictionary(&host->settings(), &host->session());
    }
    std::string stored(const std::string& key) {
        ValueRef value = model()->get(key);
        return value && value->asString() ? *value->asString() : "<absent>";
    }
    std::string topLevel(const std::string& key) {
        ValueRef value = host->settings().getValue(key);
        return value && value->asString() ? *value->asString() : "<absent>";
    }

    TempDir root;
    std::string profileFile;
    Lists lists;
    std::unique_ptr<TestHost> host;
    std::unique_ptr<PDEPlugInInterface> panel;
    AdvancedColorOptions* advanced = nullptr;
};

TEST_F(ProfileMenus, ListedEntriesFollowThePPDChoicesOfTheirClassOnly) {
    append(&lists.rgb(), makeEntry(1, 4, "a.icc", "Office", 4));
    append(&lists.rgb(), makeEntry(2, 1, "b.icc", "Hidden", 4));
    append(&lists.rgb(), makeEntry(503, 6, "c.icc", "Mine", 0));
    append(&lists.sim(), makeEntry(3, 3, "s.icc", "Swop", 5));
    append(&lists.sim(), makeEntry(4, 2, "t.icc", "Gone", 5));
    append(&lists.sim(), makeEntry(505, 5, "u.icc", "Off", 5));
    writeAndLoad();
    const std::vector<std::string> rgb = {
        "None", "sRGB", "Wide Gamut RGB", "Display RGB", "a.icc(Office)Disk", "c.icc(Mine)"};
    EXPECT_EQ(items(kImageRGBSource), rgb);
    EXPECT_EQ(items(kTextRGBSource), rgb) << "every popup of a class gets the same items";
    EXPECT_EQ(items(kSimulation), (std::vector<std::string>{"None", "SWOP", "Euroscale",
                                                            "Japan Color", "s.icc(Swop)Card"}));
    EXPECT_EQ(items(kImageDestination),
              (std::vector<std::string>{"Auto", "Vivid", "Photo", "Monitor Match"}));
    EXPECT_EQ(items(kMatchPaperColor).size(), 2u) << "no profiles outside the profile popups";
}

TEST_F(ProfileMenus, RebuildingTheMenusDoesNotRepeatTheProfiles) {
    append(&lists.dst(), makeEntry(1, 4, "d.icc", "D", 4));
    writeAndLoad();
    ASSERT_EQ(popup(kImageDestination)->numberOfItems(), 5);
    advanced->createPDEItemForPPDKey();
    advanced->createPDEItemForPPDKey();
    EXPECT_EQ(popup(kImageDestination)->numberOfItems(), 5);
    EXPECT_EQ(popup(kImageDestination)->itemTitleAtIndex(4), "d.icc(D)Disk");
}

TEST_F(ProfileMenus, APopupWhoseOptionThePPDLacksGetsNoProfiles) {
    append(&lists.sim(), makeEntry(1, 4, "s.icc", "S", 4));
    ASSERT_EQ(writeFile(), kStoreOK);
    load(dataPath("T48-partial.ppd"));
    EXPECT_EQ(popup(kSimulation)->numberOfItems(), 0);
    advanced->createPDEItemForPPDKey();
    EXPECT_EQ(popup(kSimulation)->numberOfItems(), 0);
}

// Positions count states 3, 4 and 6 only, in the menus and in the ticket alike, even for
// entries in states the store never writes.
TEST_F(ProfileMenus, ItemsAndStoredPositionsAgreeOverStatesOutsideTheTable) {
    append(&lists.sim(), makeEntry(1, 3, "three.icc", "Three", 4));
    append(&lists.sim(), makeEntry(2, 7, "seven.icc", "Seven", 4));
    append(&lists.sim(), makeEntry(3, 4, "four.icc", "Four", 4));
    append(&lists.sim(), makeEntry(4, -3, "neg.icc", "Neg", 4));
    append(&lists.sim(), makeEntry(5, 6, "six.icc", "Six", 5));
    writeAndLoad();
    ASSERT_EQ(items(kSimulation),
              (std::vector<std::string>{"None", "SWOP", "Euroscale", "Japan Color",
                                        "three.icc(Three)Disk", "four.icc(Four)Disk",
                                        "six.icc(Six)Card"}));
    popup(kSimulation)->selectItemAtIndex(6);
    save();
    EXPECT_EQ(stored("ZTSimSourceCustomFilename"), encodeAddedProfilePath(kCardFolder + "six.icc"));
    popup(kSimulation)->selectItemAtIndex(0);
    restore();
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 6);
}

TEST_F(ProfileMenus, ThirdAddedProfileIsStoredAndFoundAgain) {
    append(&lists.dst(), makeEntry(1, 4, "one.icc", "One", 4));
    append(&lists.dst(), makeEntry(2, 2, "off.icc", "Off", 4));
    append(&lists.dst(), makeEntry(3, 3, "two.icc", "Two", 5));
    append(&lists.dst(), makeEntry(504, 6, "three.icc", "Three", 4));
    writeAndLoad();
    ASSERT_EQ(popup(kImageDestination)->numberOfItems(), 7);
    popup(kImageDestination)->selectItemAtIndex(6);
    save();
    const std::string encoded = encodeAddedProfilePath(kDiskFolder + "three.icc");
    EXPECT_EQ(stored("ZTImageDestinationProfile"), "Auto") << "the option's first choice";
    EXPECT_EQ(stored("ZTImageDestinationProfileCustom"), "True");
    EXPECT_EQ(stored("ZTImageDestinationProfileCustomFilename"), encoded);
    EXPECT_EQ(topLevel("ZTImageDestinationProfileCustom"), "True");
    EXPECT_EQ(topLevel("ZTImageDestinationProfileCustomFilename"), encoded);
    EXPECT_EQ(stored("ZTTextDestinationProfileCustom"), "False");

    popup(kImageDestination)->selectItemAtIndex(1);
    restore();
    EXPECT_EQ(popup(kImageDestination)->indexOfSelectedItem(), 6);
}

TEST_F(ProfileMenus, ProfileElsewhereIsStoredByNameButFallsBackToTheDefault) {
    append(&lists.rgb(), makeEntry(501, 6, "local.icc", "Local", 0));
    writeAndLoad();
    popup(kImageRGBSource)->selectItemAtIndex(4);
    save();
    EXPECT_EQ(stored("ZTImageRGBSourceCustomFilename"), encodeAddedProfilePath("local.icc"));
    EXPECT_EQ(stored("ZTImageRGBSourceCustom"), "True");
    restore();
    EXPECT_EQ(popup(kImageRGBSource)->indexOfSelectedItem(), 1) << "the PPD default, sRGB";
}

TEST_F(ProfileMenus, ChoosingAPPDItemAfterwardsClearsTheFlagAndKeepsTheFileName) {
    append(&lists.sim(), makeEntry(1, 4, "s.icc", "S", 4));
    writeAndLoad();
    popup(kSimulation)->selectItemAtIndex(4);
    save();
    const std::string encoded = stored("ZTSimSourceCustomFilename");
    popup(kSimulation)->selectItemAtIndex(2);
    save();
    EXPECT_EQ(stored("ZTSimSource"), "Euroscale");
    EXPECT_EQ(stored("ZTSimSourceCustom"), "False");
    EXPECT_EQ(stored("ZTSimSourceCustomFilename"), encoded);
    popup(kSimulation)->selectItemAtIndex(0);
    restore();
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 2);
}

struct StoredEntries {
    const char* name;
    const char* flag;      // nullptr: absent
    std::string fileName;  // "" : absent
    int selected;          // what restoring gives
};
class RestoreOfStoredEntries : public ProfileMenus,
                               public ::testing::WithParamInterface<StoredEntries> {};

TEST_P(RestoreOfStoredEntries, SelectsTheStoredChoiceOrProfile) {
    append(&lists.sim(), makeEntry(1, 4, "s.icc", "S", 4));
    writeAndLoad();
    ValueRef dictionary = model();
    dictionary->set("ZTSimSource", Value::string("SWOP"));
    if (GetParam().flag != nullptr) {
        dictionary->set("ZTSimSourceCustom", Value::string(GetParam().flag));
    }
    if (!GetParam().fileName.empty()) {
        dictionary->set("ZTSimSourceCustomFilename", Value::string(GetParam().fileName));
    }
    popup(kSimulation)->selectItemAtIndex(3);
    restore();
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), GetParam().selected);
}

const std::string kStoredDisk = encodeAddedProfilePath(kDiskFolder + "s.icc");
INSTANTIATE_TEST_SUITE_P(
    Tickets, RestoreOfStoredEntries,
    ::testing::Values(StoredEntries{"FlagTrueFindsTheProfile", "True", kStoredDisk, 4},
                      StoredEntries{"LowerCaseTrueTakesThePPDRoute", "true", kStoredDisk, 1},
                      StoredEntries{"FlagFalseTakesThePPDRoute", "False", kStoredDisk, 1},
                      StoredEntries{"NoFlagTakesThePPDRoute", nullptr, kStoredDisk, 1},
                      StoredEntries{"NoFileNameFallsBackToTheDefault", "True", "", 0},
                      StoredEntries{"OddLengthFallsBackToTheDefault", "True", kStoredDisk + "3", 0},
                      StoredEntries{"ForeignCharactersFallBackToTheDefault", "True",
                                    "2?6174613161AB", 0},
                      StoredEntries{"OtherFolderFallsBackToTheDefault", "True",
                                    encodeAddedProfilePath(kCardFolder + "s.icc"), 0},
                      StoredEntries{"InvalidUTF8FallsBackToTheDefault", "True",
                                    encodeAddedProfilePath(kDiskFolder + "s\xFF.icc"), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileMenus, ProfileRemovedFromTheFileFallsBackToTheDefault) {
    append(&lists.sim(), makeEntry(1, 4, "keep.icc", "Keep", 4));
    append(&lists.sim(), makeEntry(2, 4, "gone.icc", "Gone", 4));
    writeAndLoad();
    popup(kSimulation)->selectItemAtIndex(5);
    save();
    lists.sim().litem[1] = {};
    lists.sim().iNum = 1;
    ASSERT_EQ(writeFile(), kStoreOK);
    // Until the menus are built again the item is still offered and found.
    restore();
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 5);
    advanced->createPDEItemForPPDKey();
    restore();
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 0);
}

TEST_F(ProfileMenus, AbsentOrUnreadableFileLeavesThePPDChoicesAndTheTicketWorking) {
    for (const char* how : {"absent", "directory", "not a property list"}) {
        std::filesystem::remove_all(profileFile);
        if (std::string(how) == "directory") {
            std::filesystem::create_directory(profileFile);
        } else if (std::string(how) == "not a property list") {
            t48::store::testing::writeText(profileFile, "<plist><dict><key>RGB");
        }
        load();
        EXPECT_EQ(PDECommon::commonAddMenuFromProfilePlist(advanced->getControlData()),
                  kPDEProfileOpErr)
            << how;
        EXPECT_EQ(popup(kSimulation)->numberOfItems(), 4) << how;
        EXPECT_EQ(popup(kImageRGBSource)->indexOfSelectedItem(), 1) << how;
        model()->set("ZTSimSourceCustom", Value::string("True"));
        model()->set("ZTSimSourceCustomFilename", Value::string(kStoredDisk));
        popup(kSimulation)->selectItemAtIndex(2);
        restore();
        EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 0) << how;
        popup(kSimulation)->selectItemAtIndex(3);
        save();
        EXPECT_EQ(stored("ZTSimSource"), "JapanColor") << how;
        EXPECT_EQ(stored("ZTSimSourceCustom"), "False") << how;
    }
}

TEST_F(ProfileMenus, WrongCallsChangeNothing) {
    append(&lists.sim(), makeEntry(1, 4, "s.icc", "S", 4));
    writeAndLoad();
    ValueRef dictionary = model();
    const size_t before = dictionary->asDictionary()->size();
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfile(record(kSimulation), nullptr, 1),
              kPDEProfileOpErr);
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfile(record(kMatchPaperColor), dictionary.get(), 1),
              kPDEProfileOpErr);
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfile(record(kSimulation), nullptr), -1);
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfile(record(kMatchPaperColor), dictionary.get()),
              -1);
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfileFlag(record(kMatchPaperColor), dictionary.get(),
                                                         kAddedProfileFlagOn),
              kPDENoErr);
    EXPECT_EQ(dictionary->asDictionary()->size(), before);
    dictionary->set("ZTSimRenderIntentCustom", Value::string("True"));
    EXPECT_FALSE(
        PDECommon::commonGetTicketAddedProfileFlag(record(kMatchPaperColor), dictionary.get()));
    dictionary->set("ZTSimSourceCustom", Value::integer(1));
    EXPECT_FALSE(PDECommon::commonGetTicketAddedProfileFlag(record(kSimulation), dictionary.get()));
}

TEST_F(ProfileMenus, PositionPastTheListStoresAnEmptyPath) {
    append(&lists.sim(), makeEntry(1, 4, "s.icc", "S", 4));
    writeAndLoad();
    ValueRef dictionary = model();
    EXPECT_EQ(PDECommon::commonSetTicketAddedProfile(record(kSimulation), dictionary.get(), 2),
              kPDENoErr);
    EXPECT_EQ(stored("ZTSimSourceCustomFilename"), "");
    EXPECT_EQ(stored("ZTSimSourceCustom"), "True");
    EXPECT_EQ(PDECommon::commonGetTicketAddedProfile(record(kSimulation), dictionary.get()), 0);
}

// How often `path` is opened while `run` runs. Opens and closes are both watched, so
// that inotify cannot fold repeated opens into one event.
int opensDuring(const std::string& path, const std::function<void()>& run) {
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    EXPECT_GE(watch, 0);
    EXPECT_GE(inotify_add_watch(watch, path.c_str(), IN_OPEN | IN_CLOSE), 0);
    run();
    int opens = 0;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t got; (got = read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            opens += (event->mask & IN_OPEN) != 0 ? 1 : 0;
            at += sizeof(inotify_event) + event->len;
        }
    }
    close(watch);
    return opens;
}

// A save or restore reads no file: the positions are those of the lists the menus were
// built from (reading each class once per popup was the cost before).
TEST_F(ProfileMenus, SaveAndRestoreReadTheFileOncePerClass) {
    append(&lists.rgb(), makeEntry(1, 4, "r.icc", "R", 4));
    append(&lists.dst(), makeEntry(2, 4, "d.icc", "D", 4));
    append(&lists.sim(), makeEntry(3, 4, "s.icc", "S", 4));
    writeAndLoad();
    const int perRead = opensDuring(profileFile, [] {
        ProfileList list;
        readPanelProfileList(&list, t48::store::kClassRGB);
    });
    ASSERT_GT(perRead, 0);
    // The seven profile popups, each on its stored profile.
    for (int at : {0, 3, 6, 9, 12, 15, 18}) {
        popup(at)->selectItemAtIndex(popup(at)->numberOfItems() - 1);
    }
    EXPECT_EQ(opensDuring(profileFile, [&] { save(); }), 0);
    EXPECT_EQ(stored("ZTGraphicsDestinationProfileCustom"), "True");
    for (int at : {0, 3, 6, 9, 12, 15, 18}) {
        popup(at)->selectItemAtIndex(0);
    }
    EXPECT_EQ(opensDuring(profileFile, [&] { restore(); }), 0);
    EXPECT_EQ(popup(kSimulation)->indexOfSelectedItem(), 4);
}

}  // namespace
