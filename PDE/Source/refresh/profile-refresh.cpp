// The refresh of the user's profile file from the printer, each time the panel's view
// is asked for: back up the file, find the printer, have the service walk it.

#include "profile-refresh.hpp"

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

// Backs up the profile file, then has the service walk the printer of `uri` and merge
// its profiles; every failure ends it silently.
void refreshProfilesFromDevice(const std::optional<std::string>& uri) {
    store::ZTPListSwapProfile(store::kSwapBackupCurrent);
    if (!uri) {
        return;
    }
    std::optional<std::string> host = walkHostForURI(*uri);
    const std::string user = store::realUserLoginName();
    if (!host || user.empty()) {
        return;
    }
    // The walk's result ("mibwalk_XPC=iRet=<n>") is not acted on: the merge has run
    // in the service whatever the walk found.
    store::panel::HelperRun run =
        store::panel::runHelper(kWalkCommand, walkRequestArguments(user, *host));
    (void)store::panel::runSucceeded(run, kWalkMarker);
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
    refreshProfilesFromDevice(deviceURI(session));
    return 0;
}

PDEProfileRefresh profileRefreshOfSession(const cf::PrintSession* session) {
    return [uri = deviceURI(session)] {
        if (store::ZTPListIsAdminProfile() == 1) {
            refreshProfilesFromDevice(uri);
        }
    };
}

}  // namespace t48::pde
