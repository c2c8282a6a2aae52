#include "service-delegate.hpp"

#include <unistd.h>

#include "requesting-user.hpp"
#include "service-xpc.hpp"

namespace t48::xpc {

ZTmacXPCServiceDelegate::ZTmacXPCServiceDelegate() : serviceUid_(geteuid()) {}

std::unique_ptr<ExportedObject> ZTmacXPCServiceDelegate::shouldAcceptNewConnection(
    const PeerCredentials& peer) {
    if (peer.uid != serviceUid_ && peer.uid != 0) {
        return nullptr;
    }
    std::optional<RequestingUser> requester = requestingUserFor(peer.uid);
    if (!requester) {
        return nullptr;
    }
    return std::make_unique<ZTmacServiceXPC>(std::move(*requester));
}

}  // namespace t48::xpc
