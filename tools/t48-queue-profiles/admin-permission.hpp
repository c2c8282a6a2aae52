#pragma once
// Who may change a queue: the people CUPS lets administer printers on Debian.

#include <string>

namespace t48::tools {

// The group whose members administer the print queues besides root.
inline constexpr char kPrinterAdminGroup[] = "lpadmin";

// True for root (effective user id 0) and for a member of the group kPrinterAdminGroup
// (as its primary group or among the process's supplementary groups).
bool mayAdministerQueues();

}  // namespace t48::tools
