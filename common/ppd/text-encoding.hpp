#pragma once
// Character sets of PPD strings, in the two numberings the panel uses (string objects
// and core-foundation strings), and conversion of PPD bytes to UTF-8 and back with iconv.

#include <cstdint>
#include <string>
#include <string_view>

namespace t48::pde {

// Numbering of string objects (menu item titles).
enum StringEncoding : uint64_t {
    kStringEncodingASCII = 1,
    kStringEncodingUTF8 = 4,
    kStringEncodingISOLatin1 = 5,
    kStringEncodingShiftJIS = 8,
    kStringEncodingWindowsCP1252 = 12,
    kStringEncodingMacOSRoman = 30,
};

// Numbering of core-foundation strings (choice rows).
enum CFStringEncoding : uint32_t {
    kCFStringEncodingMacRoman = 0,
    kCFStringEncodingISOLatin1 = 0x0201,
    kCFStringEncodingWindowsLatin1 = 0x0500,
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingShiftJIS = 0x0A01,
    kCFStringEncodingUTF8 = 0x08000100,
};

// The character set named by a PPD's LanguageEncoding value, compared exactly; Mac OS
// Roman for any other value and for none.
StringEncoding stringEncodingForLanguageEncoding(const char* languageEncoding);
CFStringEncoding cfStringEncodingForLanguageEncoding(const char* languageEncoding);

// `bytes` in the given character set as UTF-8. Bytes that are not valid in that set
// become U+FFFD (ASCII: '?'), so a PPD with stray bytes still yields every string.
std::string stringFromEncoding(std::string_view bytes, StringEncoding encoding);
std::string stringFromCFEncoding(std::string_view bytes, CFStringEncoding encoding);

// UTF-8 `text` in the character set named by a PPD's LanguageEncoding value (read as
// above); each character the set lacks, and each ill-formed sequence, becomes '?'.
std::string textForLanguageEncoding(std::string_view text, const char* languageEncoding);

}  // namespace t48::pde
