#include "print-queue.hpp"

#include <cups/cups.h>
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "ppd-file.hpp"

namespace t48::hosting {
namespace {

constexpr int kConnectTimeoutMs = 5000;

std::string lastError() {
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : "unknown error";
}

// The lpoptions file libcups 2.4 saves a user's options to: under the user's home folder
// ($HOME, else the password entry's), root's too; the server's own without a home.
std::string lpoptionsPath() {
    const char* home = std::getenv("HOME");
    if (home == nullptr) {
        const passwd* user = getpwuid(getuid());
        home = user != nullptr ? user->pw_dir : nullptr;
    }
    if (home != nullptr) {
        return std::string(home) + "/.cups/lpoptions";
    }
    const char* serverRoot = std::getenv("CUPS_SERVERROOT");
    return std::string(serverRoot != nullptr ? serverRoot : "/etc/cups") + "/lpoptions";
}

// The server as libcups names it ("host:port" or a socket path).
std::string serverName() {
    return std::string(cupsServer()) +
           (cupsServer()[0] == '/' ? "" : ":" + std::to_string(ippPort()));
}

}  // namespace

std::unique_ptr<PrintQueue> PrintQueue::open(const std::string& name, std::string& error) {
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                kConnectTimeoutMs, nullptr);
    if (http == nullptr) {
        // libcups keeps no reason for a failed connect.
        error = "cannot reach the print server " + serverName();
        return nullptr;
    }
    cups_dest_t* dest = cupsGetNamedDest(http, name.c_str(), nullptr);
    if (dest == nullptr) {
        error = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND || cupsLastError() == IPP_STATUS_OK
                    ? "the print server " + serverName() + " has no queue " + name
                    : "cannot ask the print server " + serverName() + " for the queue " + name +
                          ": " + lastError();
        httpClose(http);
        return nullptr;
    }
    return std::unique_ptr<PrintQueue>(new PrintQueue(name, http, dest));
}

PrintQueue::~PrintQueue() {
    cupsFreeDests(1, dest_);
    httpClose(http_);
}

std::string PrintQueue::deviceURI() const {
    const char* uri = cupsGetOption("device-uri", dest_->num_options, dest_->options);
    return uri != nullptr ? uri : "";
}

ppd_file_s* PrintQueue::openPPD(std::string& error) {
    std::string path = (std::filesystem::temp_directory_path() / "t48-queue-XXXXXX.ppd").string();
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0) {
        error = "cannot make a temporary file for the PPD of " + name_;
        return nullptr;
    }
    const bool copied = copyPPD(fd, error);
    close(fd);
    ppd_file_s* ppd = copied ? ppd::openPPDFile(path, error) : nullptr;
    unlink(path.c_str());
    return ppd;
}

bool PrintQueue::copyPPD(int fd, std::string& error) {
    const std::string resource = "/printers/" + name_ + ".ppd";
    const http_status_t status = cupsGetFd(http_, resource.c_str(), fd);
    if (status != HTTP_STATUS_OK) {
        error =
            "the queue " + name_ + " has no PPD on the print server (" + httpStatus(status) + ")";
    }
    return status == HTTP_STATUS_OK;
}

bool PrintQueue::installPPD(const std::string& path, std::string& error) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name_.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippDelete(cupsDoFileRequest(http_, request, "/admin/", path.c_str()));
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        error = "the print server " + serverName() + " refused the new PPD of " + name_ + ": " +
                lastError();
        return false;
    }
    return true;
}

JobOptions PrintQueue::destinationOptions() const {
    JobOptions options;
    for (int i = 0; i < dest_->num_options; ++i) {
        options.emplace_back(dest_->options[i].name, dest_->options[i].value);
    }
    return options;
}

int PrintQueue::submit(const std::string& file, const JobOptions& options, std::string& error) {
    cups_option_t* job = nullptr;
    int count = 0;
    for (const auto& [key, value] : options) {
        count = cupsAddOption(key.c_str(), value.c_str(), count, &job);
    }
    for (int i = 0; i < dest_->num_options; ++i) {
        if (cupsGetOption(dest_->options[i].name, count, job) == nullptr) {
            count = cupsAddOption(dest_->options[i].name, dest_->options[i].value, count, &job);
        }
    }
    const std::string title = std::filesystem::path(file).filename().string();
    const int id = cupsPrintFile2(http_, name_.c_str(), file.c_str(), title.c_str(), count, job);
    cupsFreeOptions(count, job);
    if (id == 0) {
        error = "the print server refused the job for " + name_ + ": " + lastError();
    }
    return id;
}

bool PrintQueue::saveDefaults(const JobOptions& options, std::string& error) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http_, &dests);
    cups_dest_t* dest = cupsGetDest(name_.c_str(), nullptr, count, dests);
    bool saved = false;
    if (dest == nullptr) {
        error = "the print server " + serverName() + " has no queue " + name_ + " any more";
    } else {
        for (const auto& [key, value] : options) {
            dest->num_options =
                cupsAddOption(key.c_str(), value.c_str(), dest->num_options, &dest->options);
        }
        errno = 0;
        saved = cupsSetDests2(http_, count, dests) == 0;
        const int writeError = errno;
        // libcups's status tells of the server only: when the file cannot be written it
        // still says "successful-ok", and errno tells why.
        if (!saved && cupsLastError() >= IPP_STATUS_REDIRECTION_OTHER_SITE) {
            error = "cannot save the default options of " + name_ + ": " + lastError();
        } else if (!saved) {
            error = "cannot save the default options of " + name_ + ": cannot write " +
                    lpoptionsPath() + ": " + std::strerror(writeError);
        }
    }
    cupsFreeDests(count, dests);
    return saved;
}

}  // namespace t48::hosting
