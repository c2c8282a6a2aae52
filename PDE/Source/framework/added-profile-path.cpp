// Which profile-list entries a profile popup offers, their paths on the printer and the
// encoding of a path in the print settings.

#include <cstring>

#include "added-profile.hpp"
#include "pde-control-item.hpp"

namespace t48::pde {
namespace {

constexpr ProfileLocation kProfileLocations[] = {
    {4, "/ata1a/data/USfiles/Profiles/", "Disk"},
    {5, "/ataCf1a/data/USfiles/Profiles/", "Card"},
};

constexpr int32_t kListedStates[] = {store::kStatePrinterUnconfirmedListed,
                                     store::kStatePrinterConfirmedListed,
                                     store::kStateUserAddedListed};

// A popup's profileClass and the class index of the list it takes its profiles from.
struct ClassListIndex {
    int16_t profileClass;
    int classIndex;
};
constexpr ClassListIndex kClassListIndexes[] = {
    {kProfileClassRGB, store::kClassRGB},
    {kProfileClassSIM, store::kClassSIM},
    {kProfileClassDST, store::kClassDST},
};

// The digit characters run from '0' (0x30) through '?' (0x3F), one per nibble.
constexpr char kDigitBase = 0x30;
constexpr char kDigitLast = 0x3F;

}  // namespace

const ProfileLocation* profileLocationFor(int32_t location) {
    for (const ProfileLocation& known : kProfileLocations) {
        if (known.location == location) {
            return &known;
        }
    }
    return nullptr;
}

bool isListedProfileState(int32_t state) {
    for (int32_t listed : kListedStates) {
        if (state == listed) {
            return true;
        }
    }
    return false;
}

int profileListIndex(int16_t profileClass) {
    for (const ClassListIndex& row : kClassListIndexes) {
        if (row.profileClass == profileClass) {
            return row.classIndex;
        }
    }
    return -1;
}

std::string_view profileText(const char (&field)[store::kProfileTextSize]) {
    return {field, strnlen(field, store::kProfileTextSize)};
}

std::string addedProfilePath(const store::ProfileEntry& entry) {
    std::string path;
    if (const ProfileLocation* where = profileLocationFor(entry.iLocation)) {
        path = where->folder;
    }
    path += profileText(entry.FileName);
    return path;
}

std::string encodeAddedProfilePath(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += static_cast<char>(kDigitBase + (b >> 4));
        text += static_cast<char>(kDigitBase + (b & 0x0F));
    }
    return text;
}

std::optional<std::string> decodeAddedProfilePath(std::string_view text) {
    if (text.size() % 2 != 0) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(text.size() / 2);
    for (size_t i = 0; i < text.size(); i += 2) {
        const char high = text[i];
        const char low = text[i + 1];
        if (high < kDigitBase || high > kDigitLast || low < kDigitBase || low > kDigitLast) {
            return std::nullopt;
        }
        bytes += static_cast<char>(((high - kDigitBase) << 4) | (low - kDigitBase));
    }
    return bytes;
}

}  // namespace t48::pde
