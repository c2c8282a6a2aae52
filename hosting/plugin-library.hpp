#pragma once
// The panel plug-in as a host loads it: the library, its plug-in object, and the panels
// it hands out for the print-dialog-extension type.

#include <memory>
#include <string>
#include <vector>

#include "pde-protocol.hpp"

namespace t48::hosting {

class PlugInLibrary {
public:
    PlugInLibrary() = default;
    // Lets go of the plug-in object, then of the library.
    ~PlugInLibrary();
    PlugInLibrary(const PlugInLibrary&) = delete;
    PlugInLibrary& operator=(const PlugInLibrary&) = delete;

    // Loads the library at `path` and gets its plug-in object; false with a one-line
    // reason in `error`.
    bool open(const std::string& path, std::string& error);
    // A new panel over `callback` (initWithCallback:); null with a reason in `error`.
    std::unique_ptr<pde::PDEPanelProtocol> makePanel(pde::PDEHostCallback* callback,
                                                     std::string& error);
    // The PPD keywords the plug-in's panel binds (supportedPPDOptionKeys), asked of a panel
    // over no printer; empty when it gives no panel.
    std::vector<std::string> panelOptionKeys();

private:
    std::string path_;
    void* library_ = nullptr;
    std::unique_ptr<pde::PDEPlugInProtocol> plugin_;
};

}  // namespace t48::hosting
