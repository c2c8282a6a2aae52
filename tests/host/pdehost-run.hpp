#pragma once
// Running pdehost as a real program and reading its JSON output with Python's json
// module, an independent reader.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "child-process.hpp"

namespace t48::testing {

inline std::string pdehost() {
    return binaryDir() + "/host/pdehost";
}
inline std::string samplePPD() {
    return sourceDir() + "/PDE/Resources/T48.ppd";
}
inline std::string dataPPD(const char* name) {
    return sourceDir() + "/tests/data/" + name;
}
// The option code of `choice` as the sample PPD gives it (a Boolean's choices as true and
// false).
inline std::string optionCode(const std::string& option, const std::string& choice) {
    const std::string value = choice == "True"    ? "true"
                              : choice == "False" ? "false"
                                                  : "/" + choice;
    return "<</" + option + " " + value + ">>setpagedevice";
}

// English unless a test asks otherwise.
inline const std::vector<std::string> kEnglish = {"LANGUAGE=", "LANG=C.UTF-8", "LC_ALL="};
inline const std::vector<std::string> kGerman = {"LANGUAGE=de", "LANG=C.UTF-8", "LC_ALL="};

inline RunResult host(std::vector<std::string> arguments,
                      const std::vector<std::string>& environment = kEnglish) {
    arguments.insert(arguments.begin(), pdehost());
    return runProgram(arguments, environment);
}

// Evaluates a Python expression over `docs`, the JSON documents printed one per line.
inline std::string query(const std::string& output, const std::string& expression) {
    const RunResult result = runProgram(
        {"/usr/bin/python3", "-c",
         "import json,sys\ndocs=[json.loads(l) for l in sys.stdin.read().splitlines()]\nprint(" +
             expression + ")"},
        {}, output);
    EXPECT_EQ(result.exitStatus, 0) << result.err << "\n" << output;
    std::string text = result.out;
    while (!text.empty() && text.back() == '\n') {
        text.pop_back();
    }
    return text;
}

}  // namespace t48::testing
