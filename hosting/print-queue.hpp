#pragma once
// A CUPS queue of the server libcups talks to (CUPS_SERVER honoured): its device URI,
// its PPD through the server, the user's saved options for it, job submission and the
// saving of the user's defaults.

#include <memory>
#include <string>
#include <utility>
#include <vector>

struct _http_s;
struct cups_dest_s;
struct ppd_file_s;

namespace t48::hosting {

// Option names and values in the order a job carries them.
using JobOptions = std::vector<std::pair<std::string, std::string>>;

class PrintQueue {
public:
    // Connects to the server and finds the queue; null with a one-line reason in `error`
    // when the server cannot be reached or has no such queue.
    static std::unique_ptr<PrintQueue> open(const std::string& name, std::string& error);
    ~PrintQueue();
    PrintQueue(const PrintQueue&) = delete;
    PrintQueue& operator=(const PrintQueue&) = delete;

    const std::string& name() const { return name_; }
    // The queue's "device-uri", "" when the server gives none.
    std::string deviceURI() const;
    // The queue's PPD, fetched from the server into a temporary file and opened from
    // there; null with a reason when the queue has none.
    ppd_file_s* openPPD(std::string& error);
    // Writes the queue's PPD as the server holds it to `fd`; false with a reason when the
    // queue has none.
    bool copyPPD(int fd, std::string& error);
    // Gives the queue the PPD file at `path` (as lpadmin -p QUEUE -P FILE does): its
    // default options are the file's; false with the server's reason.
    bool installPPD(const std::string& path, std::string& error);
    // Every option the user saved for the queue (with the server's own attributes,
    // which the caller sorts out).
    JobOptions destinationOptions() const;
    // Submits `file` with `options` and, where they name nothing in `options`, the
    // user's saved options, as lp does; the job ID, or 0 with the server's reason.
    int submit(const std::string& file, const JobOptions& options, std::string& error);
    // Makes `options` the user's default options for the queue (the user's lpoptions);
    // false with a reason when they cannot be written.
    bool saveDefaults(const JobOptions& options, std::string& error);

private:
    PrintQueue(std::string name, _http_s* http, cups_dest_s* dest)
        : name_(std::move(name)), http_(http), dest_(dest) {}

    std::string name_;
    _http_s* http_;
    cups_dest_s* dest_;
};

}  // namespace t48::hosting
