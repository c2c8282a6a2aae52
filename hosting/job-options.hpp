#pragma once
// The job options of a print from the panel's print settings, and which of them a
// queue's job takes.

#include <string>

#include "print-queue.hpp"
#include "print-settings.hpp"

namespace t48::hosting {

// Every top-level string of `settings` (the model dictionaries stay behind).
JobOptions settingsJobOptions(const cf::PrintSettings& settings);

// True for an option of the PPD and for the "...Custom" and "...CustomFilename" entries
// of a PPD option (the added profiles, which the PPD cannot know).
bool isQueueJobOption(ppd_file_s* ppd, const std::string& key);

// `options` without those the queue's jobs do not take.
JobOptions queueJobOptions(ppd_file_s* ppd, const JobOptions& options);

// `options` with the PPD's ColorModel (when it has one) saying what their Color as
// Grayscale says, so that a program reading either prints the same.
JobOptions withColorModelAlike(ppd_file_s* ppd, JobOptions options);

}  // namespace t48::hosting
