#pragma once
// The service's listening socket when systemd opened it (socket activation). Apart from
// the rest of the transport so that only the service links the systemd library: the
// helper, started for every request, loads no more libraries than it needs.

namespace t48::xpc {

// The listening socket systemd passed to this process, or -1.
int activatedSocket();

}  // namespace t48::xpc
