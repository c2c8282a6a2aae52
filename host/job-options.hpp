#pragma once
// The job options of a print from the panel's print settings, and which of them a
// queue's job takes.

#include <string>

#include "host-session.hpp"
#include "print-queue.hpp"

namespace t48::host {

// The print's last word to the panel (the Quick Color preset and the advanced pane to
// the ticket), then every top-level string of the print settings.
JobOptions printJobOptions(HostSession& session);

// True for an option of the PPD and for the "...Custom" and "...CustomFilename" entries
// of a PPD option (the added profiles, which the PPD cannot know).
bool isQueueJobOption(ppd_file_s* ppd, const std::string& key);

// `options` without those the queue's jobs do not take.
JobOptions queueJobOptions(ppd_file_s* ppd, const JobOptions& options);

// The options as one JSON object.
std::string jobOptionsJSON(const JobOptions& options);

}  // namespace t48::host
