#include "utf8-text.hpp"

namespace t48::text {
namespace {

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The well-formed byte sequences by lead byte (Unicode table 3-7): how many bytes follow
// and the range the first of them must lie in; the others are any continuation byte.
struct LeadRule {
    unsigned char firstLead;
    unsigned char lastLead;
    std::size_t length;
    unsigned char secondLow;
    unsigned char secondHigh;
};
constexpr LeadRule kLeadRules[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

const LeadRule* ruleFor(unsigned char lead) {
    for (const LeadRule& rule : kLeadRules) {
        if (lead >= rule.firstLead && lead <= rule.lastLead) {
            return &rule;
        }
    }
    return nullptr;
}

// Decodes the character at `at`: true with `c` and its `length` in bytes; false when the
// bytes there are ill-formed, `length` then counting those one U+FFFD stands for (the
// longest start of a well-formed character, at least one byte).
bool decode(std::string_view text, std::size_t at, char32_t* c, std::size_t* length) {
    const auto lead = static_cast<unsigned char>(text[at]);
    *c = lead;
    *length = 1;
    if (lead < 0x80) {
        return true;
    }
    const LeadRule* rule = ruleFor(lead);
    if (rule == nullptr) {
        return false;
    }
    char32_t value = lead & (0x7F >> rule->length);
    for (; *length < rule->length && at + *length < text.size(); ++*length) {
        const auto next = static_cast<unsigned char>(text[at + *length]);
        const bool fits = *length == 1 ? next >= rule->secondLow && next <= rule->secondHigh
                                       : isContinuation(next);
        if (!fits) {
            return false;
        }
        value = (value << 6) | (next & 0x3F);
    }
    *c = value;
    return *length == rule->length;
}

// True when `text` is well-formed and `keep` accepts each of its characters.
template <class Keep>
bool everyCharacter(std::string_view text, Keep keep) {
    char32_t c = 0;
    for (std::size_t at = 0, length = 0; at < text.size(); at += length) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {  // most text is ASCII: one byte, one character
            if (!keep(char32_t{byte})) {
                return false;
            }
            length = 1;
            continue;
        }
        if (!decode(text, at, &c, &length) || !keep(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace

char32_t nextCharacter(std::string_view text, std::size_t* at) {
    char32_t c = 0;
    std::size_t length = 0;
    const bool wellFormed = decode(text, *at, &c, &length);
    *at += length;
    return wellFormed ? c : kReplacementCharacter;
}

void appendUtf8(std::string* out, char32_t c) {
    if (c < 0x80) {
        *out += static_cast<char>(c);
    } else if (c < 0x800) {
        *out += static_cast<char>(0xC0 | (c >> 6));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *out += static_cast<char>(0xE0 | (c >> 12));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | (c >> 18));
        *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isValidUtf8(std::string_view text) {
    return everyCharacter(text, [](char32_t) { return true; });
}

bool isXmlCharacter(char32_t c) {
    return c == '\t' || c == '\n' || c == '\r' || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool isStorableText(std::string_view text) {
    return everyCharacter(text, [](char32_t c) { return c != '\r' && isXmlCharacter(c); });
}

std::size_t wholeCharacterPrefix(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text.size();
    }
    std::size_t cut = limit;
    while (cut > 0 && isContinuation(static_cast<unsigned char>(text[cut]))) {
        --cut;
    }
    return cut;
}

std::string withIllFormedReplaced(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        appendUtf8(&out, nextCharacter(text, &at));
    }
    return out;
}

}  // namespace t48::text
