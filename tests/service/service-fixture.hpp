#pragma once
// A test root with the preferences folder and the helper installed at its path, the real
// xpcservice running on a socket of its own, and ways to send it requests: through the
// real T48Helper, or as raw frames (for requests no command line can carry).

#include <sys/types.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "child-process.hpp"

namespace t48::testing {

// The account the permission and security tests run as.
inline constexpr uid_t kNobodyUid = 65534;

class ServiceRoot {
public:
    // `user` is the account the service and the helper run as: "root" runs them as this
    // process; any other name through setpriv (the tree is then opened up for it).
    explicit ServiceRoot(std::string user = "root");
    ~ServiceRoot();

    const std::string& root() const { return root_.path(); }
    const std::string& user() const { return user_; }
    std::string preferencesFolder() const;
    std::string helperPath() const;
    std::string socketPath() const { return root() + "/run/xpcservice.sock"; }
    // The current, previous and save-temporary files of `user` (default: the service's).
    std::string currentPath(const std::string& user = {}) const;
    std::string previousPath(const std::string& user = {}) const;
    std::string temporaryPath(const std::string& user = {}) const;
    // "file://" URL of a path (RFC 8089).
    static std::string fileURL(const std::string& path);

    // Starts the service and waits until its socket answers; false when it did not.
    bool startService(const std::vector<std::string>& extraEnvironment = {});
    ChildProcess* service() { return service_.get(); }
    void stopService() { service_.reset(); }

    // Runs the installed helper with `arguments` as the service's user.
    RunResult helper(const std::vector<std::string>& arguments,
                     const std::string& asUser = {}) const;

    // Sends one raw request as `uid`; the reply, or empty when the service dropped the
    // connection (or it could not be made).
    std::optional<std::string> rawRequest(const std::string& method, const std::string& request,
                                          uid_t uid) const;

    std::vector<std::string> environment() const;
    // argv prefix that runs a program as `user` (empty for root).
    static std::vector<std::string> asUserPrefix(const std::string& user);

private:
    TempDir root_;
    std::string user_;
    std::unique_ptr<ChildProcess> service_;
};

// A profile file of three classes with `slots` slots of six fields each (500 is a complete
// file, about half a megabyte); `seed` varies the content, so two seeds give two files.
std::string fullProfileText(int seed, int slots = 500);

// The helper's chunk size: the panel cuts a save into chunks of this many characters.
inline constexpr std::size_t kChunkCharacters = 90000;
// `text` (ASCII) cut into chunks of kChunkCharacters.
std::vector<std::string> saveChunks(const std::string& text);

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool fileExists(const std::string& path);

// Every file below `folder`: relative path → type, mode and content (or link target).
std::map<std::string, std::string> treeSnapshot(const std::string& folder);

}  // namespace t48::testing
