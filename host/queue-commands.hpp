#pragma once
// pdehost's commands on the session's CUPS queue: submit a job, save the user's defaults.

#include <ostream>
#include <string>

#include "host-session.hpp"

namespace t48::host {

// submit FILE: the panel saved and given its last word, as a dialog's Print does; the
// job options of the print settings that the queue takes, then FILE submitted with
// them; prints {"job": ID, "options": {...}}. False with the server's reason when there
// is no queue or the job is refused (nothing is printed then).
bool runSubmit(HostSession& session, const std::string& file, std::ostream& out,
               std::string& error);

// save-defaults: the same options become the user's default options for the queue;
// prints {"queue": NAME, "options": {...}}.
bool runSaveDefaults(HostSession& session, const std::string&, std::ostream& out,
                     std::string& error);

}  // namespace t48::host
