// libFuzzer target for the profile-file reader. Besides what the sanitizers see, it
// checks after every input what they cannot: a rejected file leaves the lists as they
// were; after a read each list's count stays within 0-500 and every text field ends
// within its own 32 bytes in valid UTF-8 (a field running into its neighbour inside one
// record is not an out-of-bounds access).

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

__attribute__((no_sanitize("coverage"))) void checkText(const char (&field)[kProfileTextSize]) {
    std::size_t length = strnlen(field, kProfileTextSize);
    require(length < kProfileTextSize);
    require(t48::text::isValidUtf8(std::string_view(field, length)));
}

// The checks are not what is fuzzed: without coverage feedback of their own they cost a
// fraction of each run and do not steer the fuzzer.
__attribute__((no_sanitize("coverage"))) void checkLists(const ProfileList* lists) {
    for (int c = 0; c < kProfileClassCount; ++c) {
        const ProfileList& list = lists[c];
        require(list.iNum >= 0 && list.iNum <= kProfileSlots);
        for (const ProfileEntry& entry : list.litem) {
            checkText(entry.FileName);
            checkText(entry.ProfileName);
            require(entry.iDriver == 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static auto lists = std::make_unique<ProfileList[]>(kProfileClassCount);  // zeroed
    static bool filled = false;  // cleared again only after a read filled them
    if (filled) {
        std::memset(lists.get(), 0, sizeof(ProfileList) * kProfileClassCount);
        filled = false;
    }
    std::string_view xml(reinterpret_cast<const char*>(data), size);
    int status = detail::readAllFromXml(xml, &lists[0], &lists[1], &lists[2]);
    require(status == kStoreOK || status == kStoreFailed);
    if (status == kStoreFailed) {
        // A rejected file touches no list.
        static const auto untouched = std::make_unique<ProfileList[]>(kProfileClassCount);
        require(std::memcmp(lists.get(), untouched.get(),
                            sizeof(ProfileList) * kProfileClassCount) == 0);
        return 0;
    }
    filled = true;
    checkLists(lists.get());
    return 0;
}
