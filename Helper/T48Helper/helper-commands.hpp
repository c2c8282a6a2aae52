#pragma once
// The helper's commands: one per service method. A command's further arguments are the
// pieces of the method's request string, in order; the helper joins them with the
// method's markers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace t48::helper {

struct Command {
    std::string_view name;   // the service method, and the first argument
    std::size_t minPieces;   // further arguments
    std::size_t maxPieces;   // kAnyNumber for the walk's open-ended list
    std::string_view usage;  // the further arguments, for the usage message
    std::string (*join)(const std::vector<std::string_view>& pieces);
};

inline constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

extern const Command kCommands[];
extern const std::size_t kCommandCount;

const Command* findCommand(std::string_view name);

// The request string for `command` from `pieces`; empty when their number is wrong.
std::optional<std::string> buildRequest(const Command& command,
                                        const std::vector<std::string_view>& pieces);

}  // namespace t48::helper
