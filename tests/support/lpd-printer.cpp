#include "lpd-printer.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace t48::testing {
namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

LpdPrinter::LpdPrinter(std::string address, int port, const std::vector<std::string>& options)
    : address_(std::move(address)), port_(port) {
    std::filesystem::create_directory(dir_.file("jobs"));
    const std::string log = dir_.file("lpd.log");
    std::vector<std::string> argv = {binaryDir() + "/sim/t48-printer-lpd"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), {address_ + ":" + std::to_string(port_), dir_.file("jobs")});
    receiver_ = std::make_unique<ChildProcess>(argv, std::vector<std::string>{}, log);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline && receiver_->running()) {
        if (contents(log).find("listening") != std::string::npos) {
            started_ = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

LpdPrinter::~LpdPrinter() {
    stop();
}

std::string LpdPrinter::deviceURI(const std::string& queue) const {
    return "lpd://" + address_ + ":" + std::to_string(port_) + "/" + queue + "?snmp=false";
}

std::vector<ReceivedJob> LpdPrinter::jobs() const {
    std::vector<std::filesystem::path> folders;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.file("jobs"))) {
        if (entry.path().filename().string()[0] != '.') {
            folders.push_back(entry.path());
        }
    }
    std::sort(folders.begin(), folders.end());
    std::vector<ReceivedJob> received;
    for (const auto& folder : folders) {
        received.push_back(
            {contents(folder / "queue"), contents(folder / "control"), contents(folder / "data")});
    }
    return received;
}

std::vector<ReceivedJob> LpdPrinter::waitForJobs(size_t count,
                                                 std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<ReceivedJob> received = jobs();
    while (received.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        received = jobs();
    }
    return received;
}

void LpdPrinter::stop() {
    if (receiver_) {
        receiver_->stop();
        receiver_.reset();
    }
}

}  // namespace t48::testing
