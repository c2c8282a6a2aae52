// Opening, closing and reading a PPD file through libcups' PPD API, which libcups marks
// deprecated: the only place outside the panel's PPD adapter that calls it.

#include "ppd-file.hpp"

#include <cups/ppd.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <optional>
#include <string_view>

#include "whole-file.hpp"

#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace t48::ppd {
namespace {

constexpr std::string_view kLanguageEncodingLine = "*LanguageEncoding:";
constexpr std::size_t kMaxPPDSize = 64u << 20;

// A PPD's bytes with its *LanguageEncoding line moved up, and where that line stood.
struct DeclaredFirst {
    std::string bytes;
    int declarationLine;  // 1-based, in the file as it is
};

// libcups converts each text to UTF-8 as it reads it, from the encoding declared so far
// (ISO Latin-1 before any *LanguageEncoding): the texts above a late declaration come out
// garbled ("GrÃ¼n" for a UTF-8 "Grün"). The PPD's bytes with the first declaration moved
// right after the *PPD-Adobe line make every text follow the declared encoding (a copy
// would not do: libcups loses memory on a second declaration). Nothing when the file
// declares none, has it there already, or cannot be read (libcups then tells).
std::optional<DeclaredFirst> withLanguageEncodingFirst(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    std::string bytes;
    const bool read = file::readAll(fd, &bytes, kMaxPPDSize);
    ::close(fd);
    const std::size_t firstLineEnd = bytes.find('\n');
    if (!read || firstLineEnd == std::string::npos) {
        return std::nullopt;
    }
    int line = 2;
    for (std::size_t at = firstLineEnd + 1; at < bytes.size(); ++line) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string::npos ? bytes.size() : end + 1;
        if (std::string_view(bytes).substr(at, kLanguageEncodingLine.size()) ==
            kLanguageEncodingLine) {
            if (line == 2) {
                return std::nullopt;
            }
            std::string declaration = bytes.substr(at, end - at);
            bytes.erase(at, end - at);
            if (declaration.back() != '\n') {
                declaration += '\n';
            }
            bytes.insert(firstLineEnd + 1, declaration);
            return DeclaredFirst{std::move(bytes), line};
        }
        at = end;
    }
    return std::nullopt;
}

// The line of the file as it is that line `line` of the moved bytes came from.
int originalLine(int line, const std::optional<DeclaredFirst>& moved) {
    if (!moved || line < 2) {
        return line;
    }
    if (line == 2) {
        return moved->declarationLine;
    }
    return line <= moved->declarationLine ? line - 1 : line;
}

}  // namespace

ppd_file_s* openPPDFile(const std::string& path, std::string& error) {
    ppd_file_t* ppd = nullptr;
    const std::optional<DeclaredFirst> declaredFirst = withLanguageEncodingFirst(path);
    if (declaredFirst) {
        // libcups reads from a descriptor; the bytes go to an anonymous file.
        const int fd = memfd_create("ppd", MFD_CLOEXEC);
        if (fd >= 0 && file::writeAll(fd, declaredFirst->bytes) && ::lseek(fd, 0, SEEK_SET) == 0) {
            ppd = ppdOpenFd(fd);  // closes the descriptor
        } else if (fd >= 0) {
            ::close(fd);
        }
    } else {
        ppd = ppdOpenFile(path.c_str());
    }
    if (ppd == nullptr) {
        int line = 0;
        const ppd_status_t status = ppdLastError(&line);
        error = "cannot open PPD " + path + ": " + ppdErrorString(status);
        if (line > 0) {
            error += " (line " + std::to_string(originalLine(line, declaredFirst)) + ")";
        }
    }
    return ppd;
}

void closePPDFile(ppd_file_s* ppd) {
    if (ppd != nullptr) {
        ppdClose(ppd);
    }
}

bool ppdHasOption(ppd_file_s* ppd, const std::string& key) {
    return ppd != nullptr && ppdFindOption(ppd, key.c_str()) != nullptr;
}

void makeOptionsPickMany(ppd_file_s* ppd, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        if (ppd_option_t* option = ppd != nullptr ? ppdFindOption(ppd, key.c_str()) : nullptr) {
            option->ui = PPD_UI_PICKMANY;
        }
    }
}

}  // namespace t48::ppd
