#pragma once
// Where the service listens, and how its listening socket is obtained.

#include <string>

namespace t48::xpc {

// $T48_XPC_SOCKET when set and not empty, else $XDG_RUNTIME_DIR/t48/xpcservice.sock;
// empty when neither variable is set.
std::string serviceSocketPath();

// Binds and listens on `path`. A missing parent folder is created with mode 0700 (an existing
// one is used as it is). A socket file left by a service that is gone is replaced; one that
// still answers is not. Returns the descriptor, or -1 with `error` set.
int bindServiceSocket(const std::string& path, std::string* error);

// A connected stream socket to `path`, or -1 with errno set.
int connectServiceSocket(const std::string& path);

}  // namespace t48::xpc
