// pdehost: a print-dialog host without a window system. It loads the panel plug-in,
// drives one dialog session over a PPD and a ticket, and runs the commands given.

#include <clocale>
#include <filesystem>
#include <iostream>
#include <map>

#include "host-commands.hpp"
#include "program-files.hpp"

namespace {

using t48::host::HostOptions;

constexpr const char* kUsage =
    "usage: pdehost [--plugin FILE] [--queue NAME] [--ppd FILE] [--printer ID] [--device-uri URI]\n"
    "               [--ticket FILE]\n"
    "               [show | set OUTLET=VALUE | click OUTLET | keys | ticket | summary | "
    "print |\n"
    "                submit FILE | save-defaults]...\n"
    "  with the profile window open (click button_ManageProfile):\n"
    "               [window | select ROW | tick ROW | type OUTLET=TEXT | paste OUTLET=TEXT |\n"
    "                clear OUTLET | browse PATH|- | window-ok | window-cancel]...";

int fail(const std::string& message) {
    std::cerr << "pdehost: " << message << "\n";
    return t48::host::kHostUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    HostOptions options;
    std::map<std::string, std::string*> optionFields = {
        {"--plugin", &options.plugin},
        {"--ppd", &options.printer.ppd},
        {"--device-uri", &options.printer.deviceURI}};
    std::map<std::string, std::optional<std::string>*> optionalFields = {
        {"--printer", &options.printer.printerID},
        {"--ticket", &options.ticket},
        {"--queue", &options.printer.queue}};
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const bool isOption = word.rfind("--", 0) == 0;
        if (!isOption) {
            words.push_back(word);
            // A command's argument is never an option.
            if (t48::host::commandTakesArgument(word) && i + 1 < argc) {
                words.push_back(argv[++i]);
            }
            continue;
        }
        if (word == "--help") {
            std::cout << kUsage << "\n";
            return 0;
        }
        if (i + 1 >= argc) {
            return fail(word + " needs a value\n" + kUsage);
        }
        const std::string value = argv[++i];
        if (auto optional = optionalFields.find(word); optional != optionalFields.end()) {
            *optional->second = value;
        } else if (auto field = optionFields.find(word); field != optionFields.end()) {
            *field->second = value;
        } else {
            return fail("unknown option " + word + "\n" + kUsage);
        }
    }
    if (options.plugin.empty()) {
        options.plugin = t48::hosting::defaultPlugInPath();
    }
    if (options.printer.ppd.empty() && !options.printer.queue) {
        options.printer.ppd =
            t48::hosting::besideProgram({"../PDE/T48.ppd", "../share/ppd/orvell/T48.ppd"});
    }

    std::vector<t48::host::HostCommand> commands;
    std::string error;
    if (!t48::host::parseCommands(words, commands, error)) {
        return fail(error + "\n" + kUsage);
    }
    t48::host::HostSession session;
    if (!session.open(options, error)) {
        return fail(error);
    }
    session.begin();
    for (const t48::host::HostCommand& command : commands) {
        if (!t48::host::runCommand(session, command, std::cout, error)) {
            std::cout.flush();
            return fail(error);
        }
    }
    if (!session.end(error)) {
        return fail(error);
    }
    if (!std::cout.flush()) {
        return fail("cannot write the output");
    }
    return 0;
}
