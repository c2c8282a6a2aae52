// t48-queue-profiles QUEUE
// Puts the profiles stored on a T48 printer into its CUPS queue's PPD, so that every
// program's print dialog offers them: walks the printer of the queue's device URI and
// installs the driver's PPD with one marked choice per profile in the options of its
// class, the queue's default options kept. For root and the members of lpadmin.
// Exit status 0 when the queue's PPD offers the printer's profiles (also when it did
// already: then nothing is changed); 1, with one line on standard error and the PPD as it
// was, when the caller may not, the queue is unknown or not a T48's, or the printer does
// not answer; 2 for a usage error.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "admin-permission.hpp"
#include "device-address.hpp"
#include "print-queue.hpp"
#include "profile-entries.hpp"
#include "profile-options.hpp"
#include "queue-ppd.hpp"
#include "snmp-walk.hpp"
#include "system-paths.hpp"
#include "whole-file.hpp"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitRefused = 1;
constexpr int kExitUsage = 2;
constexpr std::size_t kMaxPPDBytes = 64u << 20;

using t48::store::ProfileList;

int refuse(const std::string& line) {
    std::fprintf(stderr, "t48-queue-profiles: %s\n", line.c_str());
    return kExitRefused;
}

std::optional<std::string> readFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    std::string bytes;
    const bool read = file != nullptr && t48::file::readAll(fileno(file), &bytes, kMaxPPDBytes);
    if (file != nullptr) {
        std::fclose(file);
    }
    return read ? std::optional<std::string>(bytes) : std::nullopt;
}

std::optional<std::string> queuePPD(t48::hosting::PrintQueue& queue, std::string& error) {
    const int fd = memfd_create("queue.ppd", MFD_CLOEXEC);
    if (fd < 0) {
        error = "cannot hold the PPD of " + queue.name();
        return std::nullopt;
    }
    std::string bytes;
    const bool read = queue.copyPPD(fd, error) && lseek(fd, 0, SEEK_SET) == 0 &&
                      t48::file::readAll(fd, &bytes, kMaxPPDBytes);
    close(fd);
    if (!read && error.empty()) {
        error = "cannot read the PPD of " + queue.name();
    }
    return read ? std::optional<std::string>(bytes) : std::nullopt;
}

// The queue's new PPD: the driver's, with the printer's profiles of each option's class.
std::string ppdWithProfiles(const std::string& driverPPD, const std::string& currentPPD,
                            const ProfileList* lists, std::size_t& count) {
    std::vector<t48::tools::OptionProfiles> options;
    count = 0;
    for (const t48::pde::ProfileOption& option : t48::pde::profileOptions()) {
        const ProfileList& list = lists[t48::pde::profileListIndex(option.profileClass)];
        options.push_back(
            {option.keyword,
             t48::tools::profileChoices(list, t48::tools::ppdChoices(driverPPD, option.keyword))});
        count += options.back().choices.size();
    }
    return t48::tools::queuePPDWithProfiles(driverPPD, currentPPD, options);
}

bool install(t48::hosting::PrintQueue& queue, const std::string& ppd, std::string& error) {
    std::string path = (std::filesystem::temp_directory_path() / "t48-queue-XXXXXX.ppd").string();
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0) {
        error = "cannot make a temporary file for the new PPD";
        return false;
    }
    const bool written = t48::file::writeAll(fd, ppd);
    close(fd);
    const bool installed = written && queue.installPPD(path, error);
    if (!written) {
        error = "cannot write the new PPD to " + path;
    }
    unlink(path.c_str());
    return installed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: t48-queue-profiles QUEUE\n");
        return kExitUsage;
    }
    const std::string name = argv[1];
    if (!t48::tools::mayAdministerQueues()) {
        return refuse(std::string("only root and the members of the group ") +
                      t48::tools::kPrinterAdminGroup + " may change the PPD of a queue");
    }
    const std::string driverPath = t48::systemPath(t48::SystemPath::kDriverPPD);
    const std::optional<std::string> driverPPD = readFile(driverPath);
    if (!driverPPD) {
        return refuse("cannot read the T48 PPD " + driverPath);
    }
    std::string error;
    std::unique_ptr<t48::hosting::PrintQueue> queue = t48::hosting::PrintQueue::open(name, error);
    const std::optional<std::string> currentPPD = queue ? queuePPD(*queue, error) : std::nullopt;
    if (!currentPPD) {
        return refuse(error);
    }
    const std::optional<std::string> model = t48::tools::ppdValue(*currentPPD, "ModelName");
    if (model != t48::tools::ppdValue(*driverPPD, "ModelName")) {
        return refuse(name + ": not a T48 queue: its PPD's ModelName is " +
                      model.value_or("missing"));
    }
    const std::string uri = queue->deviceURI();
    const std::optional<std::string> host = t48::pde::walkHostForURI(uri);
    if (!host) {
        return refuse(name + ": no printer to walk in its device URI \"" + uri +
                      "\" (lpd://, mdns:// and dnssd:// printers are walked)");
    }

    const std::vector<std::string> walk = t48::pde::walkArguments(*host);
    std::vector<const char*> walkArgs;
    for (const std::string& argument : walk) {
        walkArgs.push_back(argument.c_str());
    }
    auto lists = std::make_unique<ProfileList[]>(t48::store::kProfileClassCount);
    const int result = t48::discovery::walkProfileLists(
        static_cast<int>(walkArgs.size()), walkArgs.data(), &lists[t48::store::kClassRGB],
        &lists[t48::store::kClassSIM], &lists[t48::store::kClassDST]);
    if (result != t48::discovery::kWalkComplete) {
        return refuse(name + ": the printer " + *host + " did not answer the walk of its profiles" +
                      " (walk result " + std::to_string(result) + "); the PPD is unchanged");
    }

    std::size_t count = 0;
    const std::string ppd = ppdWithProfiles(*driverPPD, *currentPPD, lists.get(), count);
    if (ppd == *currentPPD) {
        std::printf("%s: unchanged, the PPD offers the printer's %zu profile choices\n",
                    name.c_str(), count);
        return kExitDone;
    }
    if (!install(*queue, ppd, error)) {
        return refuse(error);
    }
    std::printf("%s: the PPD now offers the printer's %zu profile choices\n", name.c_str(), count);
    return kExitDone;
}
