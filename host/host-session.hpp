#pragma once
// One print-dialog session of pdehost: the ticket file's print settings, the loaded
// plug-in, and the panel session over the printer.

#include <memory>
#include <optional>
#include <string>

#include "panel-session.hpp"
#include "plugin-library.hpp"

namespace t48::host {

struct HostOptions {
    std::string plugin;
    hosting::PanelPrinter printer;
    std::optional<std::string> ticket;
};

class HostSession {
public:
    HostSession() = default;
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the printer, reads the ticket (or, on a queue without one, starts from the
    // user's saved options for it), loads the plug-in and gets its panel; false with a
    // one-line reason in `error` when one of them fails.
    bool open(const HostOptions& options, std::string& error);
    // The panel opened as a dialog opens it, then shown (willShow).
    void begin();
    // The panel closed as a closing dialog closes it, then the ticket file is written;
    // false with a reason when the ticket file cannot be written.
    bool end(std::string& error);

    hosting::PanelSession& panelSession() { return *panelSession_; }
    pde::PDEPanelProtocol& panel() { return panelSession_->panel(); }
    cf::PrintSettings& printSettings() { return settings_; }

private:
    // Declared in this order so they go in the reverse one: the panel, then the
    // settings (values the plug-in put there carry deleters in its code), then the
    // plug-in.
    hosting::PlugInLibrary plugin_;
    cf::PrintSettings settings_;
    std::unique_ptr<hosting::PanelSession> panelSession_;
    std::optional<std::string> ticket_;
};

}  // namespace t48::host
