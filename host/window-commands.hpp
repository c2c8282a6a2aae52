#pragma once
// pdehost's commands for the modal window the panel runs (the profile management
// window): they act on the window while it is open.

#include <ostream>
#include <string>

#include "host-session.hpp"

namespace t48::host {

// The open window's control named `outlet`; null when no window is open or it has none.
ui::Control* findWindowOutlet(HostSession& session, const std::string& outlet);

bool runWindow(HostSession& session, const std::string&, std::ostream& out, std::string& error);
bool runSelect(HostSession& session, const std::string& row, std::ostream&, std::string& error);
bool runTick(HostSession& session, const std::string& row, std::ostream&, std::string& error);
bool runType(HostSession& session, const std::string& argument, std::ostream&, std::string& error);
bool runPaste(HostSession& session, const std::string& argument, std::ostream&, std::string& error);
bool runClear(HostSession& session, const std::string& outlet, std::ostream&, std::string& error);
bool runBrowse(HostSession& session, const std::string& path, std::ostream&, std::string& error);
bool runWindowOK(HostSession& session, const std::string&, std::ostream&, std::string& error);
bool runWindowCancel(HostSession& session, const std::string&, std::ostream&, std::string& error);

}  // namespace t48::host
