#pragma once
// The plug-in object and the one panel, "Color Options".

#include <memory>

#include "pde-main.hpp"
#include "pde-protocol.hpp"

namespace t48::pde {

class PDEPlugIn : public PDEPlugInProtocol {
public:
    bool initWithBundle(const std::string& bundlePath) override;
    std::optional<PDEPanelList> PDEPanelsForType(const std::string& type,
                                                 PDEHostCallback* callback) override;
};

class PDEPlugInInterface : public PDEPanelProtocol {
public:
    // initWithCallback: takes the print settings and the session; loads nothing.
    explicit PDEPlugInInterface(PDEHostCallback* callback);
    // Frees both pane tables and the combined table.
    ~PDEPlugInInterface() override;

    std::string panelName() override;
    std::string panelKind() override;
    std::vector<std::string> supportedPPDOptionKeys() override;
    ui::View* panelView() override;
    ui::View* panelViewLeavingRefresh(PDEProfileRefresh& refresh) override;
    void setProfileRefreshRunning(bool running) override;
    void willShow() override;
    bool shouldHide() override;
    bool restoreValuesAndReturnError(int32_t* error) override;
    bool saveValuesAndReturnError(int32_t* error) override;
    bool shouldPrint() override;
    cf::ValueRef summaryInfo() override;
    void PPDOptionKeyValueDidChange(const std::string& option, const std::string& choice) override;
    void terminate() override;
    std::vector<PDENamedControl> interfaceControls() override;
    PDEWindowProtocol* modalWindow() override;

    // Actions sent by the pane controls (wired in PDEMain).
    void selectItem(ui::Control& sender);
    void constraints(ui::Control& sender);

    // Loads the interface definition and builds the tables; runs at most once.
    void myLoad();

    // For code of the panel that works on both panes (null before loading).
    PainChangeController* painChange() const { return painChange_; }
    ColorOptions* onColorView() const { return onColorView_; }
    AdvancedColorOptions* onAdvancedView() const { return onAdvancedView_; }
    PDEControlItem* compTable() const { return compTable_; }
    ProfileControl* profileControl() const { return profileControl_; }
    cf::PrintSettings* setting() const { return setting_; }
    cf::PrintSession* session() const { return session_; }

private:
    PDEHostCallback* pdePluginCallbackObject_ = nullptr;
    cf::PrintSettings* setting_ = nullptr;
    cf::PrintSession* session_ = nullptr;
    ppd_file_s* ppd_ = nullptr;
    std::unique_ptr<PDEMainObjects> interface_;
    ui::View* pdeMainView_ = nullptr;
    ColorOptions* onColorView_ = nullptr;
    AdvancedColorOptions* onAdvancedView_ = nullptr;
    PainChangeController* painChange_ = nullptr;
    ProfileControl* profileControl_ = nullptr;
    PDEControlItem* compTable_ = nullptr;
    bool profileStore_ = true;  // the host's answer at creation
};

// The panel's kind, a constant.
inline constexpr const char* kPDEPanelKind = "orvell.pde.T48.ztco";
// Key of the panel's localized name.
inline constexpr const char* kPDEPanelNameKey = "Color Options";

}  // namespace t48::pde
