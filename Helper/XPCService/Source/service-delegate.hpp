#pragma once
// ZTmacXPCServiceDelegate: the listener's delegate, one per process. It takes a connection
// only from a peer of the service's own user id, or root, and gives each accepted
// connection its own ZTmacServiceXPC.

#include <sys/types.h>

#include "xpc-listener.hpp"

namespace t48::xpc {

class ZTmacXPCServiceDelegate final : public ListenerDelegate {
public:
    ZTmacXPCServiceDelegate();

    std::unique_ptr<ExportedObject> shouldAcceptNewConnection(const PeerCredentials& peer) override;

private:
    uid_t serviceUid_;
};

}  // namespace t48::xpc
