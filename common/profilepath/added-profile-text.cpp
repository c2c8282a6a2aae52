#include "added-profile-text.hpp"

namespace t48::pde {
namespace {

constexpr ProfileLocation kProfileLocations[] = {
    {4, "/ata1a/data/USfiles/Profiles/", "Disk"},
    {5, "/ataCf1a/data/USfiles/Profiles/", "Card"},
};

// The digit characters run from '0' (0x30) through '?' (0x3F), one per nibble.
constexpr char kDigitBase = 0x30;
constexpr char kDigitLast = 0x3F;

}  // namespace

std::span<const ProfileLocation> profileLocations() {
    return kProfileLocations;
}

const ProfileLocation* profileLocationFor(int32_t location) {
    for (const ProfileLocation& known : kProfileLocations) {
        if (known.location == location) {
            return &known;
        }
    }
    return nullptr;
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
