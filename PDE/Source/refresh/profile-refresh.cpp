// The refresh of the user's profile file from the printer, each time the panel's view
// is asked for: back up the file, find the printer, have the service walk it.

#include "device-address.hpp"
#include "helper-request.hpp"
#include "pde-common.hpp"
#include "profile-paths.hpp"
#include "profile-store.hpp"

namespace t48::pde {

namespace {

constexpr char kWalkCommand[] = "mibwalk_XPC";
constexpr char kWalkMarker[] = "mibwalk_XPC=iRet=";

std::optional<std::string> deviceURI(const cf::PrintSession* session) {
    const cf::Printer* printer = nullptr;
    std::string uri;
    if (session == nullptr || session->getCurrentPrinter(printer) != 0 || printer == nullptr ||
        printer->copyDeviceURI(uri) != 0) {
        return std::nullopt;
    }
    return uri;
}

}  // namespace

int16_t PDECommon::commoniGetProtocolByUrl(const char* uri) {
    return protocolOfURI(uri);
}

int16_t PDECommon::commoniGetProtocol(const cf::PrintSession* session) {
    std::optional<std::string> uri = deviceURI(session);
    return uri ? commoniGetProtocolByUrl(uri->c_str()) : kProtocolUnknown;
}

int32_t PDECommon::commonGetProfilesFromMIB(const cf::PrintSession* session) {
    store::ZTPListSwapProfile(store::kSwapBackupCurrent);
    std::optional<std::string> uri = deviceURI(session);
    if (!uri) {
        return 0;
    }
    std::optional<std::string> host = walkHostForURI(*uri);
    const std::string user = store::realUserLoginName();
    if (!host || user.empty()) {
        return 0;
    }
    // The walk's result ("mibwalk_XPC=iRet=<n>") is not acted on: the merge has run
    // in the service whatever the walk found.
    store::panel::HelperRun run =
        store::panel::runHelper(kWalkCommand, walkRequestArguments(user, *host));
    (void)store::panel::runSucceeded(run, kWalkMarker);
    return 0;
}

}  // namespace t48::pde
