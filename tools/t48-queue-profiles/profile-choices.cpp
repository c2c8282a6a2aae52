#include "profile-choices.hpp"

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "added-profile-text.hpp"
#include "profile-entries.hpp"

namespace t48::tools {
namespace {

constexpr char kKeywordFill = '_';
constexpr std::size_t kHashDigits = 8;

bool isKeywordByte(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// 32-bit FNV-1a over the location and the file name.
uint32_t profileHash(int32_t location, std::string_view fileName) {
    uint32_t hash = 2166136261u;
    auto mix = [&hash](unsigned char byte) {
        hash ^= byte;
        hash *= 16777619u;
    };
    for (int shift = 0; shift < 32; shift += 8) {
        mix(static_cast<unsigned char>(static_cast<uint32_t>(location) >> shift));
    }
    for (const char c : fileName) {
        mix(static_cast<unsigned char>(c));
    }
    return hash;
}

struct Candidate {
    std::string plain;  // location word, '_', the file name with its odd bytes filled
    bool lossy = false;
    std::string hashed;
};

Candidate candidateFor(const store::ProfileEntry& entry) {
    const pde::ProfileLocation* where = pde::profileLocationFor(entry.iLocation);
    const std::string prefix = std::string(where != nullptr ? where->wordKey : "") + kKeywordFill;
    const std::string_view fileName = pde::profileText(entry.FileName);
    Candidate candidate;
    std::string name;
    for (const char c : fileName) {
        candidate.lossy = candidate.lossy || !isKeywordByte(c);
        name += isKeywordByte(c) ? c : kKeywordFill;
    }
    candidate.plain = prefix + name;
    candidate.lossy = candidate.lossy || candidate.plain.size() > kMaxChoiceKeyword;
    char digits[kHashDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", profileHash(entry.iLocation, fileName));
    const std::size_t room = kMaxChoiceKeyword - prefix.size() - 1 - kHashDigits;
    candidate.hashed = prefix + name.substr(0, room) + kKeywordFill + digits;
    return candidate;
}

bool sameChoice(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

bool isTaken(const std::vector<std::string>& taken, const std::string& keyword) {
    return std::any_of(taken.begin(), taken.end(),
                       [&](const std::string& t) { return sameChoice(t, keyword); });
}

std::string choiceText(const store::ProfileEntry& entry) {
    std::string_view name = pde::profileText(entry.ProfileName);
    if (name.empty()) {
        name = pde::profileText(entry.FileName);
    }
    const pde::ProfileLocation* where = pde::profileLocationFor(entry.iLocation);
    return std::string(name) + (where != nullptr ? std::string(" (") + where->wordKey + ")" : "");
}

}  // namespace

std::vector<ProfileChoice> profileChoices(const store::ProfileList& list,
                                          const std::vector<std::string>& taken) {
    std::vector<const store::ProfileEntry*> entries;
    std::vector<Candidate> candidates;
    for (int32_t slot = 0; slot < list.iNum && slot < store::kProfileSlots; ++slot) {
        entries.push_back(&list.litem[slot]);
        candidates.push_back(candidateFor(list.litem[slot]));
    }
    std::vector<std::string> used = taken;
    std::vector<ProfileChoice> choices;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Candidate& candidate = candidates[i];
        const bool collides =
            isTaken(taken, candidate.plain) ||
            std::any_of(candidates.begin(), candidates.end(), [&](const Candidate& other) {
                return &other != &candidate && sameChoice(other.plain, candidate.plain);
            });
        std::string keyword = candidate.lossy || collides ? candidate.hashed : candidate.plain;
        // Two hashes alike: the later profile takes a number (never seen in practice).
        for (int n = 2; isTaken(used, keyword); ++n) {
            const std::string suffix = std::string(1, kKeywordFill) + std::to_string(n);
            keyword = candidate.hashed.substr(0, kMaxChoiceKeyword - suffix.size()) + suffix;
        }
        used.push_back(keyword);
        choices.push_back({keyword, choiceText(*entries[i]), pde::addedProfilePath(*entries[i])});
    }
    return choices;
}

}  // namespace t48::tools
