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

std::string convertWithIconv(std::string_view bytes, const char* from) {
    std::string out;
    const bool toASCII = std::strcmp(from, "ASCII") == 0;
    iconv_t cd = iconv_open("UTF-8", from);
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
        // EILSEQ or EINVAL (a sequence cut at the end): replace one byte and go on.
        out += toASCII ? "?" : "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

// Most PPD texts are plain ASCII, which every encoding but one reads as itself: those
// are taken as they are, without opening a converter for each text.
std::string convert(std::string_view bytes, const EncodingRow& row) {
    const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return ascii && row.keepsAscii ? std::string(bytes) : convertWithIconv(bytes, row.iconvName);
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

}  // namespace t48::pde
