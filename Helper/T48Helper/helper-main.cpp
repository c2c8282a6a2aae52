// T48Helper COMMAND [ARGUMENT...]
//
// Sends one request to the service and prints "COMMAND=REPLY" on a line of standard
// output; exit status 0. Errors (unknown command, wrong number of arguments, no service,
// a connection the service refused) go to standard error, print no "COMMAND=" line, and
// end with a non-zero status.

#include <sysexits.h>

#include <cstdio>
#include <string>
#include <vector>

#include "helper-commands.hpp"
#include "xpc-connection.hpp"
#include "xpc-socket.hpp"

namespace {

void printUsage() {
    std::fprintf(stderr, "usage: T48Helper COMMAND [ARGUMENT...]\ncommands:\n");
    for (std::size_t i = 0; i < t48::helper::kCommandCount; ++i) {
        const t48::helper::Command& command = t48::helper::kCommands[i];
        std::fprintf(stderr, "  %.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.usage.size()),
                     command.usage.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage();
        return EX_USAGE;
    }
    const t48::helper::Command* command = t48::helper::findCommand(argv[1]);
    if (command == nullptr) {
        std::fprintf(stderr, "T48Helper: unknown command: %s\n", argv[1]);
        printUsage();
        return EX_USAGE;
    }
    std::vector<std::string_view> pieces(argv + 2, argv + argc);
    std::optional<std::string> request = t48::helper::buildRequest(*command, pieces);
    if (!request) {
        std::fprintf(stderr, "T48Helper: wrong number of arguments for %s\n", argv[1]);
        printUsage();
        return EX_USAGE;
    }
    std::string socketPath = t48::xpc::serviceSocketPath();
    t48::xpc::ServiceConnection connection;
    if (socketPath.empty() || !connection.open(socketPath)) {
        std::fprintf(
            stderr, "T48Helper: cannot reach the service at %s\n",
            socketPath.empty() ? "(no socket path: set XDG_RUNTIME_DIR)" : socketPath.c_str());
        return EX_UNAVAILABLE;
    }
    std::string reply;
    t48::xpc::CallStatus status = connection.call(argv[1], *request, &reply);
    if (status != t48::xpc::CallStatus::kOK) {
        std::fprintf(stderr, "T48Helper: %s: %s\n", argv[1], t48::xpc::callStatusText(status));
        return EX_UNAVAILABLE;
    }
    std::printf("%s=%s\n", argv[1], reply.c_str());
    return std::fflush(stdout) == 0 ? 0 : EX_IOERR;
}
