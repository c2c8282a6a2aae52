// The filter as the panel's host: the plug-in beside the filter, a panel over the queue's
// PPD and print settings of the job's own, driven as a print dialog's Print drives it,
// without a view and without a profile store (the filter prints for no user).

#include "panel-choices.hpp"

#include <algorithm>

#include "panel-session.hpp"
#include "plugin-library.hpp"
#include "program-files.hpp"

namespace t48::filter {
namespace {

// The panel keeps its values per printer; a job has one.
constexpr char kJobPrinter[] = "job";

}  // namespace

std::optional<Choices> panelChoices(const std::vector<JobOption>& asked, const std::string& ppdPath,
                                    std::string& error) {
    hosting::PlugInLibrary plugin;  // outlives the panel it makes
    if (!plugin.open(hosting::defaultPlugInPath(), error)) {
        return std::nullopt;
    }
    cf::PrintSettings settings;
    const std::unique_ptr<hosting::PanelSession> session = hosting::PanelSession::open(
        {.queue = std::nullopt, .ppd = ppdPath, .printerID = kJobPrinter, .deviceURI = {}},
        settings, error);
    if (!session) {
        return std::nullopt;
    }
    session->withoutProfileStore();
    session->startFromOptions(asked);
    if (!session->makePanel(plugin, error)) {
        return std::nullopt;
    }
    session->beginWithoutView();
    const hosting::JobOptions printed = session->printJobOptions();
    const std::vector<std::string> keys = session->panel().supportedPPDOptionKeys();
    Choices choices;
    for (const auto& [option, choice] : printed) {
        if (std::find(keys.begin(), keys.end(), option) != keys.end()) {
            choices.emplace(option, choice);
        }
    }
    return choices;
}

}  // namespace t48::filter
