#include "profile-file-check.hpp"

#include "profile-store-private.hpp"

namespace t48::xpc {

bool isProfileFileText(std::string_view text) {
    return store::detail::readsAsProfileFile(text);
}

}  // namespace t48::xpc
