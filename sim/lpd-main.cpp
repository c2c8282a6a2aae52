// t48-printer-lpd ADDRESS:PORT JOBS-FOLDER
// The simulated T48 printer's LPD print server (RFC 1179, receive job) on a loopback
// address of the caller's choosing. Each job it receives is kept in JOBS-FOLDER (see
// lpd-receiver.hpp). Prints "listening ADDRESS:PORT" once it accepts connections; runs
// until it is killed. Exit status 2 for bad usage or an address it cannot listen on.

#include <netdb.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "lpd-receiver.hpp"

namespace {

constexpr int kClientTimeoutSeconds = 10;

int fail(const std::string& message) {
    std::cerr << "t48-printer-lpd: " << message << '\n';
    return 2;
}

// A listening socket on "ADDRESS:PORT" ("[::1]:PORT" for IPv6); -1 with `error` set.
int listenOn(const std::string& where, std::string& error) {
    const size_t colon = where.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == where.size()) {
        error = "expected ADDRESS:PORT, not " + where;
        return -1;
    }
    std::string host = where.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    const std::string port = where.substr(colon + 1);
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV | AI_PASSIVE;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int status = getaddrinfo(host.c_str(), port.c_str(), &hints, &found); status != 0) {
        error = "cannot use " + where + ": " + gai_strerror(status);
        return -1;
    }
    const int fd = socket(found->ai_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (fd < 0 || setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        bind(fd, found->ai_addr, found->ai_addrlen) != 0 || listen(fd, 16) != 0) {
        error = "cannot listen on " + where + ": " + std::strerror(errno);
        freeaddrinfo(found);
        if (fd >= 0) {
            close(fd);
        }
        return -1;
    }
    freeaddrinfo(found);
    return fd;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return fail("usage: t48-printer-lpd ADDRESS:PORT JOBS-FOLDER");
    }
    if (access(argv[2], W_OK | X_OK) != 0) {
        return fail(std::string("cannot write jobs into ") + argv[2]);
    }
    std::string error;
    const int listener = listenOn(argv[1], error);
    if (listener < 0) {
        return fail(error);
    }
    signal(SIGPIPE, SIG_IGN);
    t48::sim::JobFolder jobs(argv[2]);
    std::cout << "listening " << argv[1] << std::endl;
    for (;;) {
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        // One thread per connection, so a client that stalls holds up no other queue.
        std::thread(t48::sim::serveLpdConnection, client, std::ref(jobs), kClientTimeoutSeconds)
            .detach();
    }
}
