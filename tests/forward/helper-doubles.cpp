#include "helper-doubles.hpp"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace t48::testing {

void installScript(const std::string& path, const std::string& body) {
    std::remove(path.c_str());
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
}

void installSpy(const std::string& path, const std::string& real, const std::string& log,
                const std::string& before) {
    installScript(path, "if [ \"$1\" = mibwalk_XPC ]; then echo \"$1 ${10}\" >> '" + log +
                            "'; else echo \"$1\" >> '" + log + "'; fi\n" + before + "\nexec '" +
                            real + "' \"$@\"\n");
}

std::vector<std::string> loggedRuns(const std::string& log) {
    std::vector<std::string> lines;
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string moveHelperAside(const std::string& path) {
    const std::string real = path + ".real";
    std::rename(path.c_str(), real.c_str());
    return real;
}

}  // namespace t48::testing
