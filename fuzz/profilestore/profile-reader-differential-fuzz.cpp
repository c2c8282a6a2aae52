// Differential fuzz target: the store's own reader and the property-list library's tree
// read the same profile files, and the lists they fill must be the same byte for byte
// (the result too). The input drives a generator of property lists shaped like profile
// files, with the oddities a hand-edited or damaged file may hold: duplicate and missing
// keys, values of the wrong type, integers of every size and notation, names with
// references, sections, comments, broken UTF-8 and characters past 31 bytes.
//
// Negative integers past -2^63 are not generated: the library's tree holds them wrapped
// round (-(2^64 - 1) as 1), so it cannot judge them; the store reads them as missing keys.
//
// Only well-formed XML is generated: on malformed text the two parsers differ by design
// (the library's own tokenizer accepts some of it), and there the store's reader rejects
// the file, which the plain reader target covers.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "libplist-profile-reader.hpp"
#include "profile-store-private.hpp"
#include "profile-store.hpp"

namespace {

using namespace t48::store;

constexpr const char* kIntegerTexts[] = {
    "0",
    "1",
    "-1",
    "7",
    "2147483647",
    "-2147483648",
    "2147483648",
    "-2147483649",
    "4294967295",
    "4294967296",
    "9223372036854775807",
    "-9223372036854775808",
    "0x1F",
    "0X7fffffff",
    "017",
    "12abc",
    "",
    " 5 ",
    "\n\t-6\n",
    "+8",
    "abc",
    "1.5",
    "<![CDATA[42]]>",
    "4<!-- c -->2",
    "&#49;2",
};

constexpr const char* kTextPieces[] = {
    "PROF1.ICC",
    "a",
    "Profile name ",
    "0123456789",
    "\xC3\xA9",
    "\xE2\x82\xAC",
    "\xF0\x9D\x84\x9E",
    "&amp;",
    "&lt;",
    "&gt;",
    "&quot;",
    "&apos;",
    "&#233;",
    "&#x20AC;",
    "&#x1D11E;",
    "<![CDATA[<&>]]>",
    "<!-- note -->",
    "\t",
    "\n",
    "\xC3(",
    "\xED\xA0\x80",
    "\xFF",
    "\xEF\xBF\xBE",
    " ",
    "\r\n",
    "\r",
};

constexpr const char* kFieldNames[] = {"IndexOnDevice", "InMenu",      "ProfileClass",
                                       "FileName",      "ProfileName", "Location"};

class Generator {
public:
    explicit Generator(FuzzedDataProvider& data) : data_(data) {}

    std::string file() {
        std::string out = data_.ConsumeIntegralInRange(0, 7) == 0 ? "\xEF\xBB\xBF" : "";
        switch (data_.ConsumeIntegralInRange(0, 3)) {
            case 0:
                out +=
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC "
                    "\"-//Apple//DTD PLIST 1.0//EN\" "
                    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n";
                break;
            case 1:
                out += "<?xml version=\"1.0\"?><!-- profiles -->\n";
                break;
            default:
                break;
        }
        bool wrapped = data_.ConsumeIntegralInRange(0, 7) != 0;
        if (wrapped) {
            out += "<plist version=\"1.0\">";
        }
        out += rootDictionary();
        if (wrapped) {
            out += "</plist>";
        }
        out += data_.ConsumeBool() ? "\n" : "";
        return out;
    }

private:
    std::string space() {
        static constexpr const char* kSpaces[] = {"", "\n", "\n\t", " "};
        return kSpaces[data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kSpaces) - 1)];
    }

    std::string key(const std::string& name) { return space() + "<key>" + name + "</key>"; }

    std::string integer() {
        if (data_.ConsumeBool()) {
            return "<integer>" + std::to_string(data_.ConsumeIntegralInRange(-3, 9)) + "</integer>";
        }
        std::size_t pick =
            data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kIntegerTexts) - 1);
        return "<integer>" + std::string(kIntegerTexts[pick]) + "</integer>";
    }

    std::string text() {
        std::string out;
        int pieces = data_.ConsumeIntegralInRange(0, 6);
        for (int i = 0; i < pieces; ++i) {
            std::size_t pick =
                data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kTextPieces) - 1);
            int repeat = data_.ConsumeIntegralInRange(1, 3) * (data_.ConsumeBool() ? 1 : 12);
            for (int r = 0; r < repeat; ++r) {
                out += kTextPieces[pick];
            }
        }
        return data_.ConsumeBool() && out.empty() ? "<string/>" : "<string>" + out + "</string>";
    }

    // Any value, as a property list may hold it where the store expects something else.
    std::string otherValue(int depth) {
        switch (data_.ConsumeIntegralInRange(0, depth > 2 ? 5 : 7)) {
            case 0:
                return integer();
            case 1:
                return text();
            case 2:
                return "<real>1.5</real>";
            case 3:
                return data_.ConsumeBool() ? "<true/>" : "<false></false>";
            case 4:
                return "<data>AAEC</data>";
            case 5:
                return "<date>2024-01-01T00:00:00Z</date>";
            case 6:
                return "<array>" + otherValue(depth + 1) + otherValue(depth + 1) + "</array>";
            default: {
                std::string out = "<dict>";
                int entries = data_.ConsumeIntegralInRange(0, 2);
                for (int i = 0; i < entries; ++i) {
                    out += key(slotKey()) + otherValue(depth + 1);
                }
                return out + "</dict>";
            }
        }
    }

    std::string slotKey() {
        std::size_t field =
            data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kFieldNames) - 1);
        int slot = data_.ConsumeIntegralInRange(0, 9);
        if (data_.ConsumeIntegralInRange(0, 15) == 0) {
            slot = data_.ConsumeIntegralInRange(495, 10001);
        }
        char key[48];
        std::snprintf(key, sizeof key, data_.ConsumeIntegralInRange(0, 15) == 0 ? "%s%d" : "%s%04d",
                      kFieldNames[field], slot);
        return field_ >= 0 && data_.ConsumeIntegralInRange(0, 7) != 0
                   ? std::string(kFieldNames[field_]) + (key + std::strlen(kFieldNames[field]))
                   : key;
    }

    std::string subDictionary(int field) {
        field_ = field;
        std::string out = "<dict>";
        int entries = data_.ConsumeIntegralInRange(0, 12);
        bool textField = field == 3 || field == 4;
        for (int i = 0; i < entries; ++i) {
            std::string value;
            if (data_.ConsumeIntegralInRange(0, 7) == 0) {
                value = otherValue(1);
            } else {
                value = textField ? text() : integer();
            }
            out += key(slotKey()) + space() + value;
        }
        field_ = -1;
        return out + space() + "</dict>";
    }

    // Usually all six sub-dictionaries and the count, then whatever else the input asks
    // for: duplicates, other keys, values of the wrong type.
    std::string classDictionary() {
        std::string out = "<dict>";
        if (data_.ConsumeIntegralInRange(0, 3) != 0) {
            out += key("iNum") + integer();
        }
        for (int field = 0; field < 6; ++field) {
            int pick = data_.ConsumeIntegralInRange(0, 31);
            if (pick != 0) {
                out += key(kFieldNames[field]) + (pick == 1 ? otherValue(1) : subDictionary(field));
            }
        }
        int entries = data_.ConsumeIntegralInRange(0, 3);
        for (int i = 0; i < entries; ++i) {
            int pick = data_.ConsumeIntegralInRange(0, 8);
            if (pick < 6) {
                out +=
                    key(kFieldNames[pick]) +
                    (data_.ConsumeIntegralInRange(0, 5) == 0 ? otherValue(1) : subDictionary(pick));
            } else if (pick == 6) {
                out += key("iNum") +
                       (data_.ConsumeIntegralInRange(0, 5) == 0 ? otherValue(1) : integer());
            } else {
                out += key(pick == 7 ? "Other" : "iNum ") + otherValue(1);
            }
        }
        return out + "</dict>";
    }

    std::string rootDictionary() {
        static constexpr const char* kRootKeys[] = {"RGB", "SIM", "DST", "PlistVersion", "rgb"};
        std::string out = "<dict>";
        // Usually the three classes in order, then whatever else the input asks for.
        if (data_.ConsumeIntegralInRange(0, 3) != 0) {
            for (int c = 0; c < 3; ++c) {
                out += key(kRootKeys[c]) + classDictionary();
            }
        }
        int entries = data_.ConsumeIntegralInRange(0, 4);
        for (int i = 0; i < entries; ++i) {
            std::size_t pick =
                data_.ConsumeIntegralInRange<std::size_t>(0, std::size(kRootKeys) - 1);
            out += key(kRootKeys[pick]) + (pick < 3 && data_.ConsumeIntegralInRange(0, 4) != 0
                                               ? classDictionary()
                                               : otherValue(1));
        }
        return out + space() + "</dict>";
    }

    FuzzedDataProvider& data_;
    int field_ = -1;
};

// Lists the readers must leave alone where the file has nothing for them.
void prefill(ProfileList* lists, uint8_t seed) {
    std::memset(lists, seed, sizeof(ProfileList) * kProfileClassCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static auto ours = std::make_unique<ProfileList[]>(kProfileClassCount);
    static auto library = std::make_unique<ProfileList[]>(kProfileClassCount);
    FuzzedDataProvider provider(data, size);
    uint8_t seed = provider.ConsumeIntegral<uint8_t>();
    std::string xml = Generator(provider).file();

    prefill(ours.get(), seed);
    prefill(library.get(), seed);
    int ourStatus = detail::readAllFromXml(xml, &ours[0], &ours[1], &ours[2]);
    int libraryStatus = fuzzing::readAllWithLibplist(xml, &library[0], &library[1], &library[2]);
    if (ourStatus != libraryStatus ||
        std::memcmp(ours.get(), library.get(), sizeof(ProfileList) * kProfileClassCount) != 0) {
        std::fprintf(stderr, "readers differ (ours %d, the library's %d) on:\n%s\n", ourStatus,
                     libraryStatus, xml.c_str());
        for (int c = 0; c < kProfileClassCount; ++c) {
            if (ours[c].iNum != library[c].iNum) {
                std::fprintf(stderr, "class %d count: ours %d, the library's %d\n", c, ours[c].iNum,
                             library[c].iNum);
            }
            for (int slot = 0; slot < kProfileSlots; ++slot) {
                if (std::memcmp(&ours[c].litem[slot], &library[c].litem[slot],
                                sizeof(ProfileEntry)) != 0) {
                    const ProfileEntry& a = ours[c].litem[slot];
                    const ProfileEntry& b = library[c].litem[slot];
                    std::fprintf(stderr,
                                 "class %d slot %d: ours {%d %d %d \"%.32s\" \"%.32s\" %d}, the "
                                 "library's {%d %d %d \"%.32s\" \"%.32s\" %d}\n",
                                 c, slot, a.iIndexOnDevice, a.iInMenu, a.iProfileClass, a.FileName,
                                 a.ProfileName, a.iLocation, b.iIndexOnDevice, b.iInMenu,
                                 b.iProfileClass, b.FileName, b.ProfileName, b.iLocation);
                    break;
                }
            }
        }
        std::abort();
    }
    return 0;
}
