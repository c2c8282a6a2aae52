#include "queue-commands.hpp"

#include "job-options.hpp"
#include "json-text.hpp"

namespace t48::host {
namespace {

PrintQueue* sessionQueue(HostSession& session, const std::string& command, std::string& error) {
    if (session.queue() == nullptr) {
        error = command + " needs the session's queue (--queue NAME)";
    }
    return session.queue();
}

// What a dialog's Print gives the queue: the panel saved to the ticket, then its last
// word, then the job options the queue takes.
JobOptions dialogJobOptions(HostSession& session) {
    int32_t ignored = 0;
    session.panel().saveValuesAndReturnError(&ignored);
    return queueJobOptions(session.ppdFile(), printJobOptions(session));
}

}  // namespace

bool runSubmit(HostSession& session, const std::string& file, std::ostream& out,
               std::string& error) {
    PrintQueue* queue = sessionQueue(session, "submit", error);
    if (queue == nullptr) {
        return false;
    }
    const JobOptions options = dialogJobOptions(session);
    const int job = queue->submit(file, options, error);
    if (job == 0) {
        return false;
    }
    out << "{\"job\": " << job << ", \"options\": " << jobOptionsJSON(options) << "}\n";
    return true;
}

bool runSaveDefaults(HostSession& session, const std::string&, std::ostream& out,
                     std::string& error) {
    PrintQueue* queue = sessionQueue(session, "save-defaults", error);
    if (queue == nullptr) {
        return false;
    }
    const JobOptions options = dialogJobOptions(session);
    if (!queue->saveDefaults(options, error)) {
        return false;
    }
    out << "{\"queue\": " << jsonString(queue->name())
        << ", \"options\": " << jobOptionsJSON(options) << "}\n";
    return true;
}

}  // namespace t48::host
