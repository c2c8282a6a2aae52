// The profile file's own reader and writer against the property-list library: the writer
// must give the library's bytes for the same dictionaries, and the reader must read files
// as the library reads them, where the library's reading is sound.

#include <plist/plist.h>

#include <algorithm>
#include <random>

#include "plist-text.hpp"
#include "profile-plist.hpp"
#include "profile-store-private.hpp"
#include "store-fixture.hpp"

namespace t48::store::testing {
namespace {

// The root the library would write for three lists, from the store's own dictionaries.
std::string libraryXml(Lists& lists) {
    plist_t root = plist_new_dict();
    for (int c = 0; c < kProfileClassCount; ++c) {
        plist_t classDict = nullptr;
        plist_t wrapper = CreatePropsDictionary(c, &lists[c], &classDict, nullptr, nullptr, nullptr,
                                                nullptr, nullptr, nullptr);
        plist_dict_set_item(root, profileClassKey(c), classDict);
        releasePropertyList(wrapper);
    }
    plist_dict_set_item(root, cPlistVersionKey, plist_new_uint(kPlistVersion));
    char* text = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &text, &length);
    std::string xml(text, length);
    plist_to_xml_free(text);
    plist_free(root);
    return xml;
}

TEST(XmlWriterTest, WritesTheLibrarysBytes) {
    const char* const texts[] = {"",           "plain.icc",         "a<b>&c\"d'e",  "tab\there",
                                 "line\nfeed", "\xC3\xA9t\xC3\xA9", "cr\rleft out", "\x01 left out",
                                 "bad\xC3("};
    std::mt19937 random(14);
    for (int round = 0; round < 20; ++round) {
        Lists lists;
        for (int c = 0; c < kProfileClassCount; ++c) {
            lists[c].iNum = static_cast<int32_t>(random());
            for (ProfileEntry& entry : lists[c].litem) {
                entry.iIndexOnDevice = static_cast<int32_t>(random());
                entry.iInMenu = static_cast<int32_t>(random() % 7);
                entry.iProfileClass = round == 0 ? INT32_MIN : static_cast<int32_t>(random());
                entry.iLocation = round == 0 ? INT32_MAX : static_cast<int32_t>(random() % 6);
                std::strcpy(entry.FileName, texts[random() % std::size(texts)]);
                std::strcpy(entry.ProfileName, texts[random() % std::size(texts)]);
            }
        }
        std::memset(lists.rgb().litem[1].FileName, 'u', kProfileTextSize);  // no terminator
        if (round == 1) {
            for (ProfileEntry& entry : lists.sim().litem) {
                std::strcpy(entry.ProfileName, "\x02");  // the whole sub-dictionary left out
            }
        }
        std::string ours;
        ASSERT_EQ(detail::serializeProfileLists(&lists.rgb(), &lists.sim(), &lists.dst(), &ours),
                  kStoreOK);
        std::string theirs = libraryXml(lists);
        std::size_t differ =
            std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end()).first -
            ours.begin();
        ASSERT_EQ(differ, ours.size())
            << "round " << round
            << ", ours from there: " << ours.substr(differ > 80 ? differ - 80 : 0, 160)
            << "\nthe library's: " << theirs.substr(differ > 80 ? differ - 80 : 0, 160);
        ASSERT_EQ(ours.size(), theirs.size()) << "round " << round;
    }
}

}  // namespace
}  // namespace t48::store::testing
