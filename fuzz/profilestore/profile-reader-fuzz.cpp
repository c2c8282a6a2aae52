// libFuzzer target for the profile-file reader. Besides what the sanitizers see, it
// checks after every input what they cannot: each list's count stays within 0-500 and
// every text field ends within its own 32 bytes in valid UTF-8 (a field running into
// its neighbour inside one record is not an out-of-bounds access).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

#include "profile-store-private.hpp"
#include "profile-store.hpp"
#include "utf8-text.hpp"

namespace {

using namespace t48::store;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkText(const char (&field)[kProfileTextSize]) {
    std::size_t length = strnlen(field, kProfileTextSize);
    require(length < kProfileTextSize);
    require(t48::text::isValidUtf8(std::string_view(field, length)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);
    std::memset(lists.get(), 0, sizeof(ProfileList) * kProfileClassCount);
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    int status = detail::readAllFromXml(xml, &lists[0], &lists[1], &lists[2]);
    require(status == kStoreOK || status == kStoreFailed);
    for (int c = 0; c < kProfileClassCount; ++c) {
        const ProfileList& list = lists[c];
        require(list.iNum >= 0 && list.iNum <= kProfileSlots);
        for (const ProfileEntry& entry : list.litem) {
            checkText(entry.FileName);
            checkText(entry.ProfileName);
            require(entry.iDriver == 0);
        }
    }
    return 0;
}
