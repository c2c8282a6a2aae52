#pragma once
// The print-dialog-extension protocol between a host and the plug-in: the host's
// callback object, the plug-in object that hands out panels, and the panel the host
// drives. It is the plug-in's public header: the one a host compiles of it. The plug-in
// exports one C entry point, kPDEPlugInEntryPoint, of type PDEPlugInEntry.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls.hpp"
#include "print-settings.hpp"
#include "table-view.hpp"
#include "window.hpp"

struct ppd_file_s;

namespace t48::pde {

// The panel type of print-dialog extensions.
inline constexpr const char* kPDEPanelTypeID = "BDB091F4-E57F-11D3-B5CC-0050E4603277";
// The summary's entry that lists the item names in the order to show them.
inline constexpr const char* kPDESummaryDisplayOrder = "Summary Display Order";
// The print settings' entry of the panel: a dictionary holding one model dictionary
// per printer ID, whose entries are the panel's values by PPD keyword. The panel
// restores from the model dictionary of the session's current printer.
inline constexpr const char* kPDEProductKey = "T48";

// What the host supplies to a panel. The host owns all three.
class PDEHostCallback {
public:
    virtual ~PDEHostCallback() = default;
    virtual cf::PrintSettings* printSettings() = 0;
    virtual cf::PrintSession* printSession() = 0;
    virtual ppd_file_s* ppdFile() = 0;
    // False for a host that prints for no user (a CUPS filter): the panel then reads and
    // writes no profile file and starts no helper, and its profile popups offer the PPD's
    // choices only.
    virtual bool hasProfileStore() { return true; }
};

// A control of the panel's interface definition under its outlet name.
struct PDENamedControl {
    std::string outlet;
    ui::Control* control;
};

// A modal window of the panel, for a host without a window system to show and drive.
class PDEWindowProtocol {
public:
    virtual ~PDEWindowProtocol() = default;
    virtual ui::Window* window() = 0;
    // The window's controls under their outlet names, in declared order.
    virtual std::vector<PDENamedControl> windowControls() = 0;
    virtual ui::TableView* windowTable() = 0;
    // The open panel the window runs; a host answers it before pressing the button.
    virtual ui::OpenPanel* windowOpenPanel() = 0;
    // What the window is doing (for the profile window: 0 browsing, 1 adding, 2 editing).
    virtual int32_t windowMode() = 0;
    // The window's own OK and Cancel.
    virtual void windowOK() = 0;
    virtual void windowCancel() = 0;
};

// The profile refresh that panelView() runs before it answers: the write test, the backup
// of the profile file, the walk of the printer and the merge of its profiles into the
// file. It holds what it needs of the panel's session, so it may run on any thread and
// end after the panel is gone (not after the plug-in is unloaded).
using PDEProfileRefresh = std::function<void()>;

class PDEPanelProtocol {
public:
    virtual ~PDEPanelProtocol() = default;
    virtual std::string panelName() = 0;
    virtual std::string panelKind() = 0;
    virtual std::vector<std::string> supportedPPDOptionKeys() = 0;
    // The panel's main view; null when its interface definition cannot be loaded. The
    // profile refresh runs before it answers.
    virtual ui::View* panelView() = 0;
    // panelView() for a host that must not wait for the printer: the refresh is handed to
    // the host in `refresh` instead of being run. The host runs it where it likes (or
    // drops it when the printer's profiles were refreshed already) and tells the panel
    // while a refresh runs (setProfileRefreshRunning).
    virtual ui::View* panelViewLeavingRefresh(PDEProfileRefresh& refresh) = 0;
    // While a refresh of the user's profile file runs elsewhere, the profile window shows
    // that it waits for it and offers only its Cancel; once it has ended, the window reads
    // the file afresh. Nothing before the view was asked for.
    virtual void setProfileRefreshRunning(bool running) = 0;
    virtual void willShow() = 0;
    virtual bool shouldHide() = 0;
    // Neither sets `error`; both answer true.
    virtual bool restoreValuesAndReturnError(int32_t* error) = 0;
    virtual bool saveValuesAndReturnError(int32_t* error) = 0;
    virtual bool shouldPrint() = 0;
    // The summary: a dictionary of localized item names to value texts, and under
    // kPDESummaryDisplayOrder the array of the names in display order. A dictionary
    // holding at least that array; null only when no memory can be had.
    virtual cf::ValueRef summaryInfo() = 0;
    virtual void PPDOptionKeyValueDidChange(const std::string& option,
                                            const std::string& choice) = 0;
    // Lets go of the host callback object.
    virtual void terminate() = 0;
    // Every control of the interface definition, in its order, for a host without a
    // window system to show and drive; empty before the panel is loaded.
    virtual std::vector<PDENamedControl> interfaceControls() = 0;
    // The window the panel is running modally; null when none is open.
    virtual PDEWindowProtocol* modalWindow() { return nullptr; }
};

using PDEPanelList = std::vector<std::unique_ptr<PDEPanelProtocol>>;

class PDEPlugInProtocol {
public:
    virtual ~PDEPlugInProtocol() = default;
    // `bundlePath` is the path the plug-in library was loaded from. Always true.
    virtual bool initWithBundle(const std::string& bundlePath) = 0;
    // One panel for kPDEPanelTypeID, created with `callback`; nothing for any other type.
    virtual std::optional<PDEPanelList> PDEPanelsForType(const std::string& type,
                                                         PDEHostCallback* callback) = 0;
};

// The plug-in's one exported symbol: a new plug-in object, owned by the caller.
inline constexpr const char* kPDEPlugInEntryPoint = "T48ColorPDECreatePlugIn";
using PDEPlugInEntry = PDEPlugInProtocol* (*)();

// Identifiers of the views a host looks for in the panel's view tree.
inline constexpr const char* kPDEMainViewID = "MainView";
inline constexpr const char* kPDEContainerViewID = "onMainCustomView";
inline constexpr const char* kPDEColorPaneID = "ColorOptions";
inline constexpr const char* kPDEAdvancedPaneID = "AdvancedColorOptions";

}  // namespace t48::pde
