// t48-printer-lpd [--timeout SECONDS] [--max-file-bytes BYTES] ADDRESS:PORT JOBS-FOLDER
// The simulated T48 printer's LPD print server (RFC 1179, receive job) on a loopback
// address of the caller's choosing. Each job it receives is kept in JOBS-FOLDER (see
// lpd-receiver.hpp). Prints "listening ADDRESS:PORT" once it accepts connections; runs
// until it is killed. Exit status 2 for bad usage or an address it cannot listen on.

#include <netdb.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>
#include <cstring>
#include <iostream>
#include <string>
#include <thread>

#include "lpd-receiver.hpp"

namespace {

constexpr const char* kUsage =
    "usage: t48-printer-lpd [--timeout SECONDS] [--max-file-bytes BYTES] ADDRESS:PORT "
    "JOBS-FOLDER";

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

// A positive whole number from `text` into `value`; false for anything else.
template <class Number>
bool parsePositive(const std::string& text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value > 0;
}

}  // namespace

int main(int argc, char** argv) {
    t48::sim::LpdLimits limits;
    int at = 1;
    for (; at + 1 < argc && std::strncmp(argv[at], "--", 2) == 0; at += 2) {
        const std::string option = argv[at];
        const bool parsed =
            option == "--timeout"          ? parsePositive(argv[at + 1], limits.timeoutSeconds)
            : option == "--max-file-bytes" ? parsePositive(argv[at + 1], limits.maxFileBytes)
                                           : false;
        if (!parsed) {
            return fail(kUsage);
        }
    }
    if (argc - at != 2) {
        return fail(kUsage);
    }
    const char* address = argv[at];
    const char* folder = argv[at + 1];
    if (access(folder, W_OK | X_OK) != 0) {
        return fail(std::string("cannot write jobs into ") + folder);
    }
    std::string error;
    const int listener = listenOn(address, error);
    if (listener < 0) {
        return fail(error);
    }
    signal(SIGPIPE, SIG_IGN);
    t48::sim::JobFolder jobs(folder);
    std::cout << "listening " << address << std::endl;
    for (;;) {
        const int client = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        // One thread per connection, so a client that stalls holds up no other queue.
        std::thread(t48::sim::serveLpdConnection, client, std::ref(jobs), limits).detach();
    }
}
