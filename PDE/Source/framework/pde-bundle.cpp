#include "pde-bundle.hpp"

#include <mutex>

namespace t48::pde {
namespace {

std::mutex gLock;
std::optional<bundle::Bundle> gHeld;

}  // namespace

bool holdPluginBundle(const bundle::Bundle& bundle) {
    std::lock_guard<std::mutex> guard(gLock);
    if (gHeld) {
        return false;
    }
    gHeld = bundle;
    return true;
}

const bundle::Bundle* pluginBundle() {
    std::lock_guard<std::mutex> guard(gLock);
    if (!gHeld) {
        gHeld = bundle::Bundle::forCodeAddress(reinterpret_cast<const void*>(&pluginBundle));
    }
    return gHeld ? &*gHeld : nullptr;
}

std::optional<std::string> localizedString(const char* key) {
    const bundle::Bundle* held = pluginBundle();
    if (held == nullptr || key == nullptr) {
        return std::nullopt;
    }
    return held->localizedString(key);
}

}  // namespace t48::pde
