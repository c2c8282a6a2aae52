#include "utf16-text.hpp"

#include "utf8-text.hpp"

namespace t48::ui {
namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendUtf16(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out += static_cast<char16_t>(c);
    } else {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 | (c >> 10));
        out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
}

}  // namespace

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            text::appendUtf8(&out,
                             0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            text::appendUtf8(&out, text::kReplacementCharacter);
        } else {
            text::appendUtf8(&out, unit);
        }
    }
    return out;
}

std::u16string utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        appendUtf16(out, text::nextCharacter(text, &at));
    }
    return out;
}

std::size_t utf16CharacterLength(std::u16string_view text, std::size_t at) {
    return isHighSurrogate(text[at]) && at + 1 < text.size() && isLowSurrogate(text[at + 1]) ? 2
                                                                                             : 1;
}

std::size_t utf16CharacterCount(std::u16string_view text, std::size_t units) {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < units && at < text.size(); at += utf16CharacterLength(text, at)) {
        ++characters;
    }
    return characters;
}

std::size_t utf16UnitCount(std::string_view text, std::size_t characters) {
    std::size_t units = 0;
    for (std::size_t at = 0; characters > 0 && at < text.size(); --characters) {
        units += text::nextCharacter(text, &at) > 0xFFFF ? 2 : 1;
    }
    return units;
}

}  // namespace t48::ui
