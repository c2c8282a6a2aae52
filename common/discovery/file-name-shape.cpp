#include <cstring>

#include "spool-list.hpp"

namespace t48::discovery {
namespace {

constexpr std::size_t kMaxBaseBytes = 27;
constexpr std::size_t kMaxExtensionBytes = 3;
// Punctuation a profile file name may carry besides ASCII letters and digits.
constexpr char kFileNamePunctuation[] = "!#$%&'()-.^_{}~`";

}  // namespace

bool FileNameFilter(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9')) {
        return true;
    }
    return byte != '\0' && std::strchr(kFileNamePunctuation, byte) != nullptr;
}

bool bJudgement8point3Format(const char* fileName) {
    if (fileName == nullptr || fileName[0] == '\0') {
        return false;
    }
    const std::size_t length = std::strlen(fileName);
    const char* dot = std::strchr(fileName, '.');
    if (dot == nullptr) {
        if (length > kMaxBaseBytes) {
            return false;
        }
    } else {
        const std::size_t base = static_cast<std::size_t>(dot - fileName);
        if (base < 1 || base > kMaxBaseBytes) {
            return false;
        }
        if (length - base - 1 > kMaxExtensionBytes) {
            return false;
        }
    }
    for (std::size_t i = 0; i < length; ++i) {
        if (!FileNameFilter(static_cast<unsigned char>(fileName[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace t48::discovery
