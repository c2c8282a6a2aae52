// xpcservice: serves ZT_XPC_Protocol on its socket in the foreground until SIGTERM (or
// SIGINT), then finishes the requests in progress and exits 0.

#include <signal.h>
#include <sys/signalfd.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "service-delegate.hpp"
#include "xpc-listener.hpp"

int main() {
    // Blocked here, before any thread starts, so that only the signal descriptor sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    sigdelset(&stopSignals, SIGPIPE);
    int stopFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (stopFd < 0) {
        std::perror("xpcservice: signalfd");
        return 1;
    }
    // Started by hand (not under systemd, whose journal already takes standard error), the
    // log lines are also shown on standard error.
    const char* journal = std::getenv("JOURNAL_STREAM");
    bool underJournal = journal != nullptr && *journal != '\0';
    openlog("xpcservice", LOG_PID | (underJournal ? 0 : LOG_PERROR), LOG_USER);

    t48::xpc::ZTmacXPCServiceDelegate delegate;
    std::string error;
    std::unique_ptr<t48::xpc::Listener> listener = t48::xpc::Listener::serviceListener(&error);
    if (!listener) {
        std::fprintf(stderr, "xpcservice: %s\n", error.c_str());
        return 1;
    }
    listener->setDelegate(&delegate);
    int result = listener->resume(stopFd);
    listener.reset();
    close(stopFd);
    closelog();
    return result == 0 ? 0 : 1;
}
