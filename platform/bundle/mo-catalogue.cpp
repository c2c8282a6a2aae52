#include "mo-catalogue.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>

#include "whole-file.hpp"

namespace t48::bundle {
namespace {

// Catalogues are small; anything larger is not one of ours.
constexpr std::size_t kMaxCatalogueBytes = 1u << 20;
constexpr uint32_t kMagic = 0x950412de;
constexpr uint32_t kMagicSwapped = 0xde120495;

// The header: magic, revision, string count, offsets of the ID and translation tables,
// each table a (length, offset) pair per string.
struct Reader {
    const std::string& bytes;
    bool swapped = false;

    bool word(std::size_t at, uint32_t& out) const {
        if (at > bytes.size() || bytes.size() - at < sizeof out) {
            return false;
        }
        std::memcpy(&out, bytes.data() + at, sizeof out);
        if (swapped) {
            out = __builtin_bswap32(out);
        }
        return true;
    }

    // String `index` of the table at `table`; false when it lies outside the file or
    // is not NUL-terminated.
    bool string(uint32_t table, uint32_t index, std::string& out) const {
        uint32_t length = 0;
        uint32_t offset = 0;
        const std::size_t entry = std::size_t{table} + std::size_t{index} * 8;
        if (!word(entry, length) || !word(entry + 4, offset) || offset > bytes.size() ||
            bytes.size() - offset <= length || bytes[offset + length] != '\0') {
            return false;
        }
        out.assign(bytes, offset, length);
        return true;
    }
};

}  // namespace

std::map<std::string, std::string> readMoCatalogue(const std::string& path) {
    std::string bytes;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    const bool read = file::readAll(fd, &bytes, kMaxCatalogueBytes);
    close(fd);
    Reader reader{bytes};
    uint32_t magic = 0;
    if (!read || !reader.word(0, magic) || (magic != kMagic && magic != kMagicSwapped)) {
        return {};
    }
    reader.swapped = magic == kMagicSwapped;
    uint32_t count = 0;
    uint32_t ids = 0;
    uint32_t texts = 0;
    if (!reader.word(8, count) || !reader.word(12, ids) || !reader.word(16, texts)) {
        return {};
    }
    std::map<std::string, std::string> catalogue;
    for (uint32_t i = 0; i < count; ++i) {
        std::string id;
        std::string text;
        if (!reader.string(ids, i, id) || !reader.string(texts, i, text)) {
            return {};
        }
        if (!id.empty()) {
            catalogue.emplace(std::move(id), std::move(text));
        }
    }
    return catalogue;
}

}  // namespace t48::bundle
