#include "queue-commands.hpp"

#include "json-text.hpp"

namespace t48::host {
namespace {

hosting::PrintQueue* sessionQueue(HostSession& session, const std::string& command,
                                  std::string& error) {
    hosting::PrintQueue* queue = session.panelSession().queue();
    if (queue == nullptr) {
        error = command + " needs the session's queue (--queue NAME)";
    }
    return queue;
}

}  // namespace

bool runSubmit(HostSession& session, const std::string& file, std::ostream& out,
               std::string& error) {
    hosting::PrintQueue* queue = sessionQueue(session, "submit", error);
    if (queue == nullptr) {
        return false;
    }
    const hosting::JobOptions options = session.panelSession().printJobOptions();
    const int job = queue->submit(file, options, error);
    if (job == 0) {
        return false;
    }
    out << jsonText({{"job", job}, {"options", jobOptionsJSON(options)}}) << "\n";
    return true;
}

bool runSaveDefaults(HostSession& session, const std::string&, std::ostream& out,
                     std::string& error) {
    hosting::PrintQueue* queue = sessionQueue(session, "save-defaults", error);
    if (queue == nullptr) {
        return false;
    }
    const hosting::JobOptions options = session.panelSession().printJobOptions();
    if (!queue->saveDefaults(options, error)) {
        return false;
    }
    out << jsonText({{"queue", queue->name()}, {"options", jobOptionsJSON(options)}}) << "\n";
    return true;
}

}  // namespace t48::host
