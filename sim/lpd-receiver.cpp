#include "lpd-receiver.hpp"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace t48::sim {
namespace {

// The daemon's command codes and the receive-job subcommand codes.
enum : char {
    kPrintWaiting = 1,
    kReceiveJob = 2,
    kQueueStateShort = 3,
    kQueueStateLong = 4,
    kRemoveJobs = 5,
};
enum : char {
    kAbortJob = 1,
    kReceiveControlFile = 2,
    kReceiveDataFile = 3,
};
constexpr char kAcknowledge = 0;
constexpr char kRefuse = 1;
constexpr size_t kMaxLine = 1024;

enum class LineRead {
    kLine,    // a whole line came
    kClosed,  // the client closed the connection where a line would begin
    kBroken,  // a time-out, an error, an over-long line or a stream ending inside a line
};

class Connection {
public:
    explicit Connection(int fd) : fd_(fd) {}
    ~Connection() { close(fd_); }

    // One line up to its LF (not included) into `line`.
    LineRead readLine(std::string& line) {
        line.clear();
        for (;;) {
            char c = 0;
            const ssize_t n = read(&c, 1);
            if (n == 0 && line.empty()) {
                return LineRead::kClosed;
            }
            if (n != 1 || (c != '\n' && line.size() >= kMaxLine)) {
                return LineRead::kBroken;
            }
            if (c == '\n') {
                return LineRead::kLine;
            }
            line += c;
        }
    }
    ssize_t read(char* buffer, size_t size) { return ::recv(fd_, buffer, size, 0); }
    bool send(char byte) { return ::send(fd_, &byte, 1, MSG_NOSIGNAL) == 1; }
    bool send(const std::string& text) {
        return ::send(fd_, text.data(), text.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(text.size());
    }
    // Copies `count` bytes to `out`, or, when `count` is nothing, the rest of the stream,
    // whose end must come within `limit` bytes.
    bool copyTo(int out, std::optional<unsigned long long> count, unsigned long long limit) {
        char buffer[65536];
        unsigned long long left = count.value_or(limit + 1);
        while (left > 0) {
            const ssize_t n = read(buffer, std::min<unsigned long long>(left, sizeof buffer));
            if (n <= 0) {
                return !count && n == 0;
            }
            if (::write(out, buffer, static_cast<size_t>(n)) != n) {
                return false;
            }
            left -= static_cast<unsigned long long>(n);
        }
        return count.has_value();
    }

private:
    int fd_;
};

// "COUNT NAME" of a file subcommand; nothing when COUNT is no number or more than `limit`.
std::optional<unsigned long long> fileCount(const std::string& operands, unsigned long long limit) {
    unsigned long long count = 0;
    const auto [end, error] =
        std::from_chars(operands.data(), operands.data() + operands.size(), count);
    if (error != std::errc() || end == operands.data() || count > limit) {
        return std::nullopt;
    }
    return count;
}

// Receives one control or data file into `path`: acknowledge the subcommand, take the
// bytes and the NUL after them, acknowledge again. A data count of 0 means "to the end of
// the stream", which must come within `limit` bytes. False when the client broke the
// protocol.
bool receiveFile(Connection& connection, const std::string& path, unsigned long long count,
                 bool isData, unsigned long long limit, bool& streamEnded) {
    const int out = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        connection.send(kRefuse);
        return false;
    }
    const bool toEnd = isData && count == 0;
    bool received = connection.send(kAcknowledge) &&
                    connection.copyTo(out, toEnd ? std::nullopt : std::optional(count), limit);
    close(out);
    if (toEnd) {
        streamEnded = true;
        return received;
    }
    char terminator = 1;
    received = received && connection.read(&terminator, 1) == 1 && terminator == 0;
    return received && connection.send(kAcknowledge);
}

bool writeText(const std::string& path, const std::string& text) {
    FILE* file = std::fopen(path.c_str(), "wx");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

// The subcommands of one job, until the client closes the connection.
void receiveJob(Connection& connection, const std::string& queue, JobFolder& jobs,
                const LpdLimits& limits) {
    const std::string incoming = jobs.makeIncoming();
    if (incoming.empty() || !writeText(incoming + "/queue", queue)) {
        connection.send(kRefuse);
        jobs.discard(incoming);
        return;
    }
    if (!connection.send(kAcknowledge)) {
        jobs.discard(incoming);
        return;
    }
    bool haveControl = false;
    int dataFiles = 0;
    bool streamEnded = false;
    std::string line;
    while (!streamEnded) {
        const LineRead got = connection.readLine(line);
        if (got == LineRead::kClosed) {
            break;  // the client is done
        }
        if (got == LineRead::kBroken) {
            jobs.discard(incoming);  // silent too long, gone or broken: the job is lost
            return;
        }
        if (line.empty()) {
            continue;
        }
        const std::string operands = line.substr(1);
        if (line[0] == kAbortJob) {
            jobs.discard(incoming);
            return;
        }
        const std::optional<unsigned long long> count = fileCount(operands, limits.maxFileBytes);
        const bool isData = line[0] == kReceiveDataFile;
        if (!count || (line[0] != kReceiveControlFile && !isData) || (!isData && haveControl)) {
            connection.send(kRefuse);
            jobs.discard(incoming);
            return;
        }
        const std::string name = !isData          ? "control"
                                 : dataFiles == 0 ? "data"
                                                  : "data-" + std::to_string(dataFiles + 1);
        if (!receiveFile(connection, incoming + "/" + name, *count, isData, limits.maxFileBytes,
                         streamEnded)) {
            jobs.discard(incoming);
            return;
        }
        haveControl = haveControl || !isData;
        dataFiles += isData ? 1 : 0;
    }
    if (haveControl && dataFiles > 0 && jobs.publish(incoming)) {
        return;
    }
    jobs.discard(incoming);
}

}  // namespace

std::string JobFolder::makeIncoming() {
    const std::string path =
        folder_ + "/.incoming-" + std::to_string(getpid()) + "-" + std::to_string(++incoming_);
    return mkdir(path.c_str(), 0755) == 0 ? path : "";
}

bool JobFolder::publish(const std::string& incoming) {
    std::lock_guard<std::mutex> lock(publishing_);
    for (unsigned number = 1; number < 1000000; ++number) {
        char name[16];
        std::snprintf(name, sizeof name, "/%04u", number);
        const std::string target = folder_ + name;
        if (access(target.c_str(), F_OK) == 0) {
            continue;
        }
        return rename(incoming.c_str(), target.c_str()) == 0;
    }
    return false;
}

void JobFolder::discard(const std::string& incoming) {
    if (!incoming.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(incoming, ignored);
    }
}

void serveLpdConnection(int fd, JobFolder& jobs, const LpdLimits& limits) {
    const timeval timeout{limits.timeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    Connection connection(fd);
    std::string command;
    if (connection.readLine(command) != LineRead::kLine || command.empty()) {
        return;
    }
    const std::string operands = command.substr(1);
    switch (command[0]) {
        case kReceiveJob:
            receiveJob(connection, operands.substr(0, operands.find(' ')), jobs, limits);
            break;
        case kQueueStateShort:
        case kQueueStateLong:
            connection.send("no entries\n");
            break;
        case kPrintWaiting:
        case kRemoveJobs:
        default:
            break;  // nothing waits and nothing is removed: the connection just ends
    }
}

}  // namespace t48::sim
