#include "profile-xml-writer.hpp"

#include <charconv>
#include <cstring>
#include <string_view>

#include "profile-slot-values.hpp"
#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace t48::store::detail {

namespace {

constexpr std::string_view kProlog =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist version=\"1.0\">\n"
    "<dict>\n";
constexpr std::string_view kEpilog = "</dict>\n</plist>\n";
// A full file is a little over half a megabyte.
constexpr std::size_t kFullFileSize = 600 * 1024;

// The characters escaped in text, and how.
struct Escape {
    char character;
    std::string_view written;
};
constexpr Escape kEscapes[] = {{'<', "&lt;"}, {'>', "&gt;"}, {'&', "&amp;"}};

class XmlOut {
public:
    explicit XmlOut(std::string* out) : out_(*out) {}

    void raw(std::string_view text) { out_.append(text); }

    void key(std::string_view indent, std::string_view name) {
        raw(indent);
        raw("<key>");
        raw(name);
        raw("</key>\n");
    }
    void slotKey(std::string_view name, int slot) {
        char digits[4] = {
            static_cast<char>('0' + slot / 1000), static_cast<char>('0' + slot / 100 % 10),
            static_cast<char>('0' + slot / 10 % 10), static_cast<char>('0' + slot % 10)};
        raw("\t\t\t<key>");
        raw(name);
        raw(std::string_view(digits, sizeof digits));
        raw("</key>\n");
    }
    void integer(std::string_view indent, int32_t value) {
        char digits[16];
        auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
        (void)error;
        raw(indent);
        raw("<integer>");
        raw(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        raw("</integer>\n");
    }
    void string(std::string_view indent, std::string_view text) {
        raw(indent);
        raw("<string>");
        std::size_t from = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            for (const Escape& escape : kEscapes) {
                if (text[i] == escape.character) {
                    raw(text.substr(from, i - from));
                    raw(escape.written);
                    from = i + 1;
                }
            }
        }
        raw(text.substr(from));
        raw("</string>\n");
    }

private:
    std::string& out_;
};

std::string_view fieldText(const ProfileEntry& entry, Field field) {
    const char* text = entry.*kTextMembers[field];
    return std::string_view(text, strnlen(text, kProfileTextSize));
}

void writeSubDictionary(XmlOut& out, const ProfileList& list, Field field) {
    const char* name = kFieldKeys[field];
    out.key("\t\t", name);
    // Even with every slot left out the dictionary is written open and closed, as the
    // library writes a dictionary whose keys were all removed.
    bool text = isTextField(field);
    out.raw("\t\t<dict>\n");
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        const ProfileEntry& entry = list.litem[slot];
        if (!text) {
            out.slotKey(name, slot);
            out.integer("\t\t\t", entry.*kIntegerMembers[field]);
        } else if (std::string_view value = fieldText(entry, field); text::isStorableText(value)) {
            out.slotKey(name, slot);
            out.string("\t\t\t", value);
        }
    }
    out.raw("\t\t</dict>\n");
}

void writeClass(XmlOut& out, int classIndex, const ProfileList& list) {
    out.key("\t", profileClassKey(classIndex));
    out.raw("\t<dict>\n");
    out.key("\t\t", cCountKey);
    out.integer("\t\t", list.iNum);
    for (Field field : kWriteOrder) {
        writeSubDictionary(out, list, field);
    }
    out.raw("\t</dict>\n");
}

}  // namespace

int serializeProfileLists(const ProfileList* rgb, const ProfileList* sim, const ProfileList* dst,
                          std::string* xml) {
    const ProfileList* lists[kProfileClassCount] = {rgb, sim, dst};
    xml->clear();
    xml->reserve(kFullFileSize);
    XmlOut out(xml);
    out.raw(kProlog);
    for (int c = 0; c < kProfileClassCount; ++c) {
        writeClass(out, c, *lists[c]);
    }
    out.key("\t", cPlistVersionKey);
    out.integer("\t", kPlistVersion);
    out.raw(kEpilog);
    return kStoreOK;
}

}  // namespace t48::store::detail
