#include "split-char-every.hpp"

#include <algorithm>

namespace t48::store::panel {

namespace {

// Bytes of the UTF-8 sequence led by `lead`; stray bytes count as one.
std::size_t sequenceBytes(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// Four-byte sequences are the characters that take two UTF-16 code units.
std::size_t codeUnits(std::size_t bytes) {
    return bytes == 4 ? 2 : 1;
}

}  // namespace

std::size_t utf16Length(std::string_view text) {
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t bytes = sequenceBytes(static_cast<unsigned char>(text[at]));
        units += codeUnits(bytes);
        at += bytes;
    }
    return units;
}

std::vector<std::string> splitCharEvery(std::string_view text, std::size_t n) {
    std::vector<std::string> pieces;
    if (n == 0) {
        return pieces;
    }
    std::size_t start = 0;
    std::size_t units = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t bytes = sequenceBytes(static_cast<unsigned char>(text[at]));
        bytes = std::min(bytes, text.size() - at);
        if (units > 0 && units + codeUnits(bytes) > n) {
            pieces.emplace_back(text.substr(start, at - start));
            start = at;
            units = 0;
        }
        units += codeUnits(bytes);
        at += bytes;
    }
    if (start < text.size() || pieces.empty()) {
        pieces.emplace_back(text.substr(start));
    }
    return pieces;
}

}  // namespace t48::store::panel
