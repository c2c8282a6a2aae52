#pragma once
// pdehost's commands, run in the order given on the command line.

#include <ostream>
#include <string>
#include <vector>

#include "host-session.hpp"

namespace t48::host {

struct HostCommand {
    std::string name;
    std::string argument;  // "" for commands without one
};

// pdehost's exit status for bad usage, a PPD or plug-in that cannot be loaded.
inline constexpr int kHostUsage = 2;

// Splits the words after the options into commands; false with a reason when a word
// names no command or an argument is missing or malformed.
bool parseCommands(const std::vector<std::string>& words, std::vector<HostCommand>& commands,
                   std::string& error);

// True when `word` names a command that takes the next word as its argument.
bool commandTakesArgument(const std::string& word);

// Runs one command against the session; false with a reason when it names an outlet
// the panel does not have or a value the control cannot take.
bool runCommand(HostSession& session, const HostCommand& command, std::ostream& out,
                std::string& error);

}  // namespace t48::host
