#include "service-fixture.hpp"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "system-paths.hpp"
#include "xpc-connection.hpp"

namespace fs = std::filesystem;

namespace t48::testing {
namespace {

std::string profilePath(const ServiceRoot& root, const std::string& user, const char* suffix) {
    return root.preferencesFolder() + "/" + (user.empty() ? root.user() : user) + "-T48-profile" +
           suffix;
}

}  // namespace

ServiceRoot::ServiceRoot(std::string user) : user_(std::move(user)) {
    fs::create_directories(preferencesFolder());
    fs::create_directories(fs::path(helperPath()).parent_path());
    fs::copy_file(binaryDir() + "/Helper/T48Helper/T48Helper", helperPath());
    // The preferences folder as installed: every user's service creates its own files.
    chmod(preferencesFolder().c_str(), 01777);
    if (user_ != "root") {
        // The tree is readable by the service's user, and the socket folder is its own.
        chmod(root().c_str(), 0755);
        std::string run = root() + "/run";
        mkdir(run.c_str(), 0700);
        passwd* entry = getpwnam(user_.c_str());
        if (entry != nullptr) {
            (void)!chown(run.c_str(), entry->pw_uid, entry->pw_gid);
        }
    }
}

ServiceRoot::~ServiceRoot() {
    service_.reset();
}

std::string ServiceRoot::preferencesFolder() const {
    return root() + std::string(t48::installedPath(t48::SystemPath::kPreferencesFolder));
}
std::string ServiceRoot::helperPath() const {
    return root() + std::string(t48::installedPath(t48::SystemPath::kHelper));
}

std::string ServiceRoot::currentPath(const std::string& user) const {
    return profilePath(*this, user, ".plist");
}
std::string ServiceRoot::previousPath(const std::string& user) const {
    return profilePath(*this, user, ".prev.plist");
}
std::string ServiceRoot::temporaryPath(const std::string& user) const {
    return profilePath(*this, user, ".plist.dummy");
}

std::string ServiceRoot::fileURL(const std::string& path) {
    std::string url = "file://";
    for (unsigned char c : path) {
        if (std::isalnum(c) ||
            std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
            url.push_back(static_cast<char>(c));
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            url += escaped;
        }
    }
    return url;
}

std::vector<std::string> ServiceRoot::environment() const {
    return {"T48_ROOT=" + root(), "T48_XPC_SOCKET=" + socketPath()};
}

std::vector<std::string> ServiceRoot::asUserPrefix(const std::string& user) {
    if (user.empty() || user == "root") {
        return {};
    }
    passwd* entry = getpwnam(user.c_str());
    std::string group = "nogroup";
    if (entry != nullptr && entry->pw_uid != kNobodyUid) {
        group = std::to_string(entry->pw_gid);
    }
    return {"/usr/bin/setpriv", "--reuid=" + user, "--regid=" + group, "--clear-groups"};
}

bool ServiceRoot::startService(const std::vector<std::string>& extraEnvironment) {
    std::vector<std::string> argv = asUserPrefix(user_);
    argv.push_back(binaryDir() + "/Helper/XPCService/xpcservice");
    std::vector<std::string> env = environment();
    env.push_back("JOURNAL_STREAM=");  // log lines to standard error, that is the log file
    env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
    service_ = std::make_unique<ChildProcess>(argv, env, root() + "/service.log");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        xpc::ServiceConnection probe;
        if (probe.open(socketPath())) {
            return true;
        }
        if (!service_->running()) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

RunResult ServiceRoot::helper(const std::vector<std::string>& arguments,
                              const std::string& asUser) const {
    std::vector<std::string> argv = asUserPrefix(asUser.empty() ? user_ : asUser);
    argv.push_back(helperPath());
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv, environment());
}

std::optional<std::string> ServiceRoot::rawRequest(const std::string& method,
                                                   const std::string& request, uid_t uid) const {
    int result[2];
    if (pipe(result) != 0) {
        return std::nullopt;
    }
    pid_t pid = fork();
    if (pid == 0) {
        close(result[0]);
        if (uid != 0) {
            gid_t gid = uid;
            if (setgroups(0, nullptr) != 0 || setresgid(gid, gid, gid) != 0 ||
                setresuid(uid, uid, uid) != 0) {
                _exit(2);
            }
        }
        xpc::ServiceConnection connection;
        std::string reply;
        if (!connection.open(socketPath()) ||
            connection.call(method, request, &reply) != xpc::CallStatus::kOK) {
            _exit(1);
        }
        (void)!write(result[1], reply.data(), reply.size());
        _exit(0);
    }
    close(result[1]);
    std::string reply;
    char buffer[4096];
    ssize_t n;
    while ((n = read(result[0], buffer, sizeof buffer)) > 0) {
        reply.append(buffer, static_cast<std::size_t>(n));
    }
    close(result[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return reply;
}

std::string fullProfileText(int seed, int slots) {
    static const char* const kClasses[] = {"RGB", "SIM", "DST"};
    static const char* const kIntFields[] = {"IndexOnDevice", "InMenu", "ProfileClass", "Location"};
    static const char* const kTextFields[] = {"FileName", "ProfileName"};
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n<dict>\n";
    for (const char* cls : kClasses) {
        xml << "\t<key>" << cls << "</key>\n\t<dict>\n";
        for (const char* field : kIntFields) {
            xml << "\t\t<key>" << field << "</key>\n\t\t<dict>\n";
            for (int slot = 0; slot < slots; ++slot) {
                char key[40];
                std::snprintf(key, sizeof key, "%s%04d", field, slot);
                xml << "\t\t\t<key>" << key << "</key>\n\t\t\t<integer>" << (slot + seed) % 7
                    << "</integer>\n";
            }
            xml << "\t\t</dict>\n";
        }
        for (const char* field : kTextFields) {
            xml << "\t\t<key>" << field << "</key>\n\t\t<dict>\n";
            for (int slot = 0; slot < slots; ++slot) {
                char key[40];
                std::snprintf(key, sizeof key, "%s%04d", field, slot);
                xml << "\t\t\t<key>" << key << "</key>\n\t\t\t<string>P" << seed << "_" << slot
                    << ".ICC</string>\n";
            }
            xml << "\t\t</dict>\n";
        }
        xml << "\t\t<key>iNum</key>\n\t\t<integer>" << slots << "</integer>\n\t</dict>\n";
    }
    xml << "\t<key>PlistVersion</key>\n\t<integer>1</integer>\n</dict>\n</plist>\n";
    return xml.str();
}

std::vector<std::string> saveChunks(const std::string& text) {
    std::vector<std::string> chunks;
    for (std::size_t at = 0; at < text.size(); at += kChunkCharacters) {
        chunks.push_back(text.substr(at, kChunkCharacters));
    }
    return chunks;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool fileExists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::map<std::string, std::string> treeSnapshot(const std::string& folder) {
    std::map<std::string, std::string> snapshot;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info;
        if (lstat(entry.path().c_str(), &info) != 0) {
            continue;
        }
        std::string description = std::to_string(info.st_mode) + ":" + std::to_string(info.st_uid);
        if (entry.is_symlink()) {
            description += ":link:" + fs::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file()) {
            description += ":" + readFile(entry.path());
        }
        snapshot[fs::relative(entry.path(), folder).string()] = description;
    }
    return snapshot;
}

}  // namespace t48::testing
