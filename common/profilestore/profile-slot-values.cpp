#include "profile-slot-values.hpp"

#include <cstring>
#include <limits>

#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace t48::store::detail {

const char* const kFieldKeys[kFieldCount] = {cIndexOnDeviceKey, cInMenuKey,      cProfileClassKey,
                                             cFileNameKey,      cProfileNameKey, cLocationKey};

namespace {

inline constexpr int kSlotDigits = 4;

}  // namespace

int slotOfKey(std::string_view key, Field field) {
    std::string_view name = kFieldKeys[field];
    if (key.size() != name.size() + kSlotDigits || key.substr(0, name.size()) != name) {
        return -1;
    }
    int slot = 0;
    for (char digit : key.substr(name.size())) {
        if (digit < '0' || digit > '9') {
            return -1;
        }
        slot = slot * 10 + (digit - '0');
    }
    return slot < kProfileSlots ? slot : -1;
}

bool storeInteger(bool negative, uint64_t magnitude, int32_t* dest) {
    constexpr auto kMaximum = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
    if (magnitude > kMaximum + (negative ? 1 : 0)) {
        return false;
    }
    auto value = static_cast<int64_t>(magnitude);
    *dest = static_cast<int32_t>(negative ? -value : value);
    return true;
}

bool storeText(std::string_view text, char* dest) {
    if (!text.empty()) {
        text = text.substr(0, strnlen(text.data(), text.size()));
    }
    if (!text::isValidUtf8(text)) {
        return false;
    }
    std::size_t kept = text::wholeCharacterPrefix(text, kProfileTextSize - 1);
    std::memset(dest, 0, kProfileTextSize);
    if (kept > 0) {
        std::memcpy(dest, text.data(), kept);
    }
    return true;
}

}  // namespace t48::store::detail
