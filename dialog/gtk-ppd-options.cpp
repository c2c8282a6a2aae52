#include "gtk-ppd-options.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <mutex>

#include "color-model.hpp"
#include "ppd-file.hpp"

namespace t48::dialog {
namespace {

std::mutex gLock;
std::vector<std::string> gKeptKeys;

using PPDLocalize = int (*)(ppd_file_s*);

PPDLocalize libcupsLocalize() {
    static const auto localize = reinterpret_cast<PPDLocalize>(dlsym(RTLD_NEXT, "ppdLocalize"));
    return localize;
}

}  // namespace

void keepOptionsFromGtkWidgets(std::vector<std::string> keys) {
    std::lock_guard<std::mutex> guard(gLock);
    gKeptKeys = std::move(keys);
}

}  // namespace t48::dialog

// libcups's ppdLocalize, as GTK's CUPS backend calls it: localize, then leave the panel's
// options, and the standard ColorModel of a PPD that has them, out of GTK's widgets (the
// panel's Color as Grayscale is the colour choice there, and its jobs carry ColorModel
// alike). -1 (libcups's answer for no PPD) when libcups has none.
extern "C" __attribute__((visibility("default"))) int ppdLocalize(ppd_file_s* ppd) {
    using namespace t48::dialog;
    const PPDLocalize localize = libcupsLocalize();
    const int status = localize != nullptr ? localize(ppd) : -1;
    std::lock_guard<std::mutex> guard(gLock);
    if (std::any_of(gKeptKeys.begin(), gKeptKeys.end(),
                    [ppd](const std::string& key) { return t48::ppd::ppdHasOption(ppd, key); })) {
        t48::ppd::makeOptionsPickMany(ppd, gKeptKeys);
        t48::ppd::makeOptionsPickMany(ppd, {t48::ppd::kColorModelOption});
    }
    return status;
}
