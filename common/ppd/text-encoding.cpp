#include "text-encoding.hpp"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace t48::pde {
namespace {

struct EncodingRow {
    const char* languageEncoding;  // PPD LanguageEncoding value; null for the fallback
    StringEncoding stringEncoding;
    CFStringEncoding cfEncoding;
    const char* iconvName;
    bool keepsAscii;  // bytes below 0x80 are the ASCII characters
};

// The last row is the fallback for any other LanguageEncoding value.
constexpr EncodingRow kEncodings[] = {
    {"ISOLatin1", kStringEncodingISOLatin1, kCFStringEncodingISOLatin1, "ISO-8859-1", true},
    {"WindowsANSI", kStringEncodingWindowsCP1252, kCFStringEncodingWindowsLatin1, "CP1252", true},
    // Shift_JIS puts the yen sign and the overline where ASCII has \ and ~.
    {"JIS83-RKSJ", kStringEncodingShiftJIS, kCFStringEncodingShiftJIS, "SHIFT_JIS", false},
    {"UTF-8", kStringEncodingUTF8, kCFStringEncodingUTF8, "UTF-8", true},
    {"UTF8", kStringEncodingUTF8, kCFStringEncodingUTF8, "UTF-8", true},
    {nullptr, kStringEncodingASCII, kCFStringEncodingASCII, "ASCII", true},
    {nullptr, kStringEncodingMacOSRoman, kCFStringEncodingMacRoman, "MACINTOSH", true},
};
constexpr const EncodingRow& kFallback = kEncodings[std::size(kEncodings) - 1];

const EncodingRow& rowForLanguageEncoding(const char* value) {
    if (value != nullptr) {
        for (const EncodingRow& row : kEncodings) {
            if (row.languageEncoding != nullptr && std::strcmp(row.languageEncoding, value) == 0) {
                return row;
            }
        }
    }
    return kFallback;
}

// The bytes an ill-formed or unconvertible sequence at `at` takes: one, or for UTF-8 input
// the lead byte and the continuation bytes after it, as many as it announces.
size_t skippedBytes(const char* at, size_t left, bool fromUtf8) {
    const auto lead = static_cast<unsigned char>(*at);
    const size_t announced = !fromUtf8 || lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    size_t length = 1;
    while (length < announced && length < left &&
           (static_cast<unsigned char>(at[length]) & 0xC0) == 0x80) {
        ++length;
    }
    return length;
}

// `bytes` converted from the character set `from` to `to`; each sequence that is not
// valid in `from` or has no character in `to` becomes `replacement`.
std::string convertWithIconv(std::string_view bytes, const char* from, const char* to,
                             const char* replacement) {
    std::string out;
    const bool fromUtf8 = std::strcmp(from, "UTF-8") == 0;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return out;
    }
    std::string input(bytes);
    char* in = input.data();
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outAt = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(cd, &in, &inLeft, &outAt, &outLeft);
        out.append(buffer, static_cast<size_t>(outAt - buffer));
        if (done != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            continue;
        }
        // EILSEQ or EINVAL (a sequence cut at the end): replace it and go on.
        out += replacement;
        const size_t skipped = skippedBytes(in, inLeft, fromUtf8);
        in += skipped;
        inLeft -= skipped;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Most PPD texts are plain ASCII, which every encoding but one reads as itself: those
// are taken as they are, without opening a converter for each text.
std::string convert(std::string_view bytes, const EncodingRow& row) {
    const char* replacement = std::strcmp(row.iconvName, "ASCII") == 0 ? "?" : "\xEF\xBF\xBD";
    return isAscii(bytes) && row.keepsAscii
               ? std::string(bytes)
               : convertWithIconv(bytes, row.iconvName, "UTF-8", replacement);
}

}  // namespace

StringEncoding stringEncodingForLanguageEncoding(const char* languageEncoding) {
    return rowForLanguageEncoding(languageEncoding).stringEncoding;
}

CFStringEncoding cfStringEncodingForLanguageEncoding(const char* languageEncoding) {
    return rowForLanguageEncoding(languageEncoding).cfEncoding;
}

std::string stringFromEncoding(std::string_view bytes, StringEncoding encoding) {
    for (const EncodingRow& row : kEncodings) {
        if (row.stringEncoding == encoding) {
            return convert(bytes, row);
        }
    }
    return convert(bytes, kFallback);
}

std::string stringFromCFEncoding(std::string_view bytes, CFStringEncoding encoding) {
    for (const EncodingRow& row : kEncodings) {
        if (row.cfEncoding == encoding) {
            return convert(bytes, row);
        }
    }
    return convert(bytes, kFallback);
}

std::string textForLanguageEncoding(std::string_view text, const char* languageEncoding) {
    const EncodingRow& row = rowForLanguageEncoding(languageEncoding);
    return isAscii(text) && row.keepsAscii ? std::string(text)
                                           : convertWithIconv(text, "UTF-8", row.iconvName, "?");
}

}  // namespace t48::pde
