#pragma once
// The simulated printer's LPD side: the "receive a printer job" command of RFC 1179 and
// its subcommands, each job kept in a folder of its own.

#include <atomic>
#include <mutex>
#include <string>

namespace t48::sim {

// Where received jobs go: FOLDER/0001, FOLDER/0002 ... in the order they completed, each
// holding "queue" (the queue name the client sent), "control" (the control file) and
// "data" (the first data file; "data-2" and on for more). A job appears there whole, by
// rename, once its connection ended with a control file and a data file received.
class JobFolder {
public:
    explicit JobFolder(std::string folder) : folder_(std::move(folder)) {}
    const std::string& path() const { return folder_; }
    // A new folder for a job in progress, hidden from readers; "" when it cannot be made.
    std::string makeIncoming();
    // Moves a complete job into its numbered place; false when it cannot.
    bool publish(const std::string& incoming);
    // Removes a job in progress that will not complete.
    void discard(const std::string& incoming);

private:
    std::string folder_;
    std::atomic<unsigned> incoming_{0};
    std::mutex publishing_;
};

// What a connection may cost: every wait for the client ends after `timeoutSeconds`,
// dropping the job, and no control or data file may be longer than `maxFileBytes`.
struct LpdLimits {
    int timeoutSeconds = 10;
    unsigned long long maxFileBytes = 1ULL << 30;
};

// Serves one connection on `fd` (closed at the end). A job is kept once the client
// closes the connection after its control file and a data file; a client that breaks
// the protocol, falls silent or sends more than the limits allow loses it.
void serveLpdConnection(int fd, JobFolder& jobs, const LpdLimits& limits);

}  // namespace t48::sim
