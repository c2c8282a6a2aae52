// "PDEMain", the panel's interface definition as code: the views, the 59 pane controls
// under their outlet names, the outlets of the panes and of the pane switching
// controller, and the actions.

#include "pde-main.hpp"

#include <new>
#include <type_traits>

#include "pde-plugin.hpp"

namespace t48::pde {
namespace {

constexpr ui::Rect kPanelFrame = {0, 0, 496, 380};
constexpr ui::Rect kPaneFrame = {0, 0, 496, 350};
constexpr int kGroupTabCount = 4;  // Image, Text, Graphics, Simulation
constexpr ui::Rect kProfileWindowFrame = {0, 0, 560, 420};
// The class popup's items: class index 0, 1, 2.
constexpr const char* kProfileClassTitles[] = {"RGB", "SIM", "DST"};
constexpr const char* kProfileColumns[] = {"icon", "inmenu", "filename", "profilename", "location"};

class Builder {
public:
    Builder(PDEMainObjects& objects, PDEPlugInInterface& owner)
        : objects_(objects), owner_(owner) {}

    template <class ViewClass, class... Args>
    ViewClass* make(const char* identifier, Args&&... args) {
        auto view = std::make_unique<ViewClass>(std::forward<Args>(args)...);
        ViewClass* raw = view.get();
        raw->setIdentifier(identifier);
        objects_.views.push_back(std::move(view));
        return raw;
    }

    // Creates a pane control, connects it to `outlet` and puts it on `pane`.
    template <class ControlClass, class... Args>
    void add(ui::View& pane, ControlClass*& outlet, const char* name, Args&&... args) {
        outlet = make<ControlClass>(name, std::forward<Args>(args)...);
        pane.addSubview(outlet);
        objects_.controls.push_back({name, outlet});
    }

    // Same, with the action the control sends to the panel object.
    template <class ControlClass>
    void add(ui::View& pane, ControlClass*& outlet, const char* name,
             void (PDEPlugInInterface::*action)(ui::Control&)) {
        add(pane, outlet, name);
        PDEPlugInInterface* owner = &owner_;
        outlet->setAction([owner, action](ui::Control& sender) { (owner->*action)(sender); });
    }

private:
    PDEMainObjects& objects_;
    PDEPlugInInterface& owner_;
};

void buildColorOptions(Builder& b, ColorOptions& color) {
    const auto selectItem = &PDEPlugInInterface::selectItem;
    const auto constraints = &PDEPlugInInterface::constraints;
    // Quick Color's rule concerns only this pane; every other option may affect the
    // advanced pane, so it runs the rules over both.
    b.add(color, color.menu_QuickColor, "menu_QuickColor", selectItem);
    b.add(color, color.menu_Brightness, "menu_Brightness", constraints);
    b.add(color, color.check_ColorAsGrayscale, "check_ColorAsGrayscale", constraints);
    b.add(color, color.check_ColorSeparation, "check_ColorSeparation", constraints);
    b.add(color, color.check_EconomyPrint, "check_EconomyPrint", constraints);
    b.add(color, color.menu_EdgeStrength, "menu_EdgeStrength", constraints);
    b.add(color, color.check_AutoTrapping, "check_AutoTrapping", constraints);
    b.add(color, color.menu_BlackOverprint, "menu_BlackOverprint", constraints);
    b.add(color, color.text_QuickColor, "text_QuickColor");
    b.add(color, color.text_Brightness, "text_Brightness");
    b.add(color, color.text_Strength, "text_Strength");
    b.add(color, color.text_BlackOverprint, "text_BlackOverprint");
    b.add(color, color.button_AdvanceColorOptions, "button_AdvanceColorOptions");
}

void buildAdvancedColorOptions(Builder& b, AdvancedColorOptions& advanced) {
    const auto constraints = &PDEPlugInInterface::constraints;
    b.add(advanced, advanced.menu_iRGBSource, "menu_iRGBSource", constraints);
    b.add(advanced, advanced.menu_iRGBIntent, "menu_iRGBIntent", constraints);
    b.add(advanced, advanced.menu_iRGBGrayTreatment, "menu_iRGBGrayTreatment", constraints);
    b.add(advanced, advanced.menu_iDestinationProfile, "menu_iDestinationProfile", constraints);
    b.add(advanced, advanced.menu_iHalftone, "menu_iHalftone", constraints);
    b.add(advanced, advanced.menu_iEdgeEnhancement, "menu_iEdgeEnhancement", constraints);
    b.add(advanced, advanced.menu_tRGBSource, "menu_tRGBSource", constraints);
    b.add(advanced, advanced.menu_tRGBIntent, "menu_tRGBIntent", constraints);
    b.add(advanced, advanced.menu_tRGBGrayTreatment, "menu_tRGBGrayTreatment", constraints);
    b.add(advanced, advanced.menu_tDestinationProfile, "menu_tDestinationProfile", constraints);
    b.add(advanced, advanced.menu_tHalftone, "menu_tHalftone", constraints);
    b.add(advanced, advanced.menu_tEdgeEnhancement, "menu_tEdgeEnhancement", constraints);
    b.add(advanced, advanced.menu_gRGBSource, "menu_gRGBSource", constraints);
    b.add(advanced, advanced.menu_gRGBIntent, "menu_gRGBIntent", constraints);
    b.add(advanced, advanced.menu_gRGBGrayTreatment, "menu_gRGBGrayTreatment", constraints);
    b.add(advanced, advanced.menu_gDestinationProfile, "menu_gDestinationProfile", constraints);
    b.add(advanced, advanced.menu_gHalftone, "menu_gHalftone", constraints);
    b.add(advanced, advanced.menu_gEdgeEnhancement, "menu_gEdgeEnhancement", constraints);
    b.add(advanced, advanced.menu_sSimulationProfile, "menu_sSimulationProfile", constraints);
    b.add(advanced, advanced.menu_sMatchPaperColor, "menu_sMatchPaperColor", constraints);
    b.add(advanced, advanced.menu_sCMYKGrayTreatment, "menu_sCMYKGrayTreatment", constraints);
    b.add(advanced, advanced.tab_SwitchVew, "tab_SwitchVew", kGroupTabCount);
    b.add(advanced, advanced.text_iRGBSource, "text_iRGBSource");
    b.add(advanced, advanced.text_iRGBIntent, "text_iRGBIntent");
    b.add(advanced, advanced.text_iRGBGrayTreatment, "text_iRGBGrayTreatment");
    b.add(advanced, advanced.text_iDestinationProfile, "text_iDestinationProfile");
    b.add(advanced, advanced.text_iHalftone, "text_iHalftone");
    b.add(advanced, advanced.text_iEdgeEnhancement, "text_iEdgeEnhancement");
    b.add(advanced, advanced.text_tRGBSource, "text_tRGBSource");
    b.add(advanced, advanced.text_tRGBIntent, "text_tRGBIntent");
    b.add(advanced, advanced.text_tRGBGrayTreatment, "text_tRGBGrayTreatment");
    b.add(advanced, advanced.text_tDestinationProfile, "text_tDestinationProfile");
    b.add(advanced, advanced.text_tHalftone, "text_tHalftone");
    b.add(advanced, advanced.text_tEdgeEnhancement, "text_tEdgeEnhancement");
    b.add(advanced, advanced.text_gRGBSource, "text_gRGBSource");
    b.add(advanced, advanced.text_gRGBIntent, "text_gRGBIntent");
    b.add(advanced, advanced.text_gRGBGrayTreatment, "text_gRGBGrayTreatment");
    b.add(advanced, advanced.text_gDestinationProfile, "text_gDestinationProfile");
    b.add(advanced, advanced.text_gHalftone, "text_gHalftone");
    b.add(advanced, advanced.text_gEdgeEnhancement, "text_gEdgeEnhancement");
    b.add(advanced, advanced.text_sSimulationProfile, "text_sSimulationProfile");
    b.add(advanced, advanced.text_sMatchPaperColor, "text_sMatchPaperColor");
    b.add(advanced, advanced.text_sCMYKGrayTreatment, "text_sCMYKGrayTreatment");
    b.add(advanced, advanced.button_ManageProfile, "button_ManageProfile");
    b.add(advanced, advanced.button_DownloadManager, "button_DownloadManager");
    b.add(advanced, advanced.button_HideAdvancedOptions, "button_HideAdvancedOptions");
}

// The profile management window: its controls under the controller's outlets, the
// table's columns, and the actions.
void buildProfileWindow(Builder& b, PDEMainObjects& objects) {
    ProfileControl* control = objects.profileControl.get();
    ui::Window* window = b.make<ui::Window>("ProfileManagementWindow");
    window->setFrame(kProfileWindowFrame);
    control->_profileManagementWindow = window;
    control->onAdvancedView = objects.advancedView;

    auto put = [&](auto*& outlet, const char* name) {
        outlet = b.make<std::remove_reference_t<decltype(*outlet)>>(name);
        window->addSubview(outlet);
    };
    auto act = [control](ui::Control* sender, void (ProfileControl::*action)(ui::Control&)) {
        sender->setAction([control, action](ui::Control& from) { (control->*action)(from); });
    };
    put(control->_profileMenu, "_profileMenu");
    for (const char* title : kProfileClassTitles) {
        control->_profileMenu->addItemWithTitle(title);
    }
    put(control->_profileTableView, "_profileTableView");
    for (const char* identifier : kProfileColumns) {
        control->_profileTableView->addTableColumn(std::make_unique<ui::TableColumn>(identifier));
    }
    control->_profileTableView->setDataSource(control);
    control->_profileTableView->setDelegate(control);
    control->_profileTableView->setFlipped(true);

    put(control->_addButton, "_addButton");
    put(control->_editButton, "_editButton");
    put(control->_deleteButton, "_deleteButton");
    put(control->_editGroupBox, "_editGroupBox");
    put(control->_fileNameText, "_fileNameText");
    put(control->_fileNameEdit, "_fileNameEdit");
    put(control->_browse, "_browse");
    put(control->_profileNameText, "_profileNameText");
    put(control->_profileNameEdit, "_profileNameEdit");
    put(control->_locationText, "_locationText");
    put(control->_locationMenu, "_locationMenu");
    put(control->_localCancel, "_localCancel");
    put(control->_localOK, "_localOK");
    control->_addButton->setTitle("Add");
    control->_editButton->setTitle("Edit");
    control->_deleteButton->setTitle("Delete");
    control->_browse->setTitle("Browse...");
    control->_localCancel->setTitle("Cancel");
    control->_localOK->setTitle("OK");
    control->_fileNameText->setStringValue("File Name:");
    control->_profileNameText->setStringValue("Profile Name:");
    control->_locationText->setStringValue("Location:");

    act(control->_profileMenu, &ProfileControl::profileMenu);
    act(control->_addButton, &ProfileControl::addButton);
    act(control->_editButton, &ProfileControl::editButton);
    act(control->_deleteButton, &ProfileControl::deleteButton);
    act(control->_browse, &ProfileControl::browseButton);
    act(control->_localOK, &ProfileControl::profileOK);
    act(control->_localCancel, &ProfileControl::profileCancel);

    // The window's own buttons.
    auto* ok = b.make<ui::PushButton>("profileWindowOK");
    auto* cancel = b.make<ui::PushButton>("profileWindowCancel");
    window->addSubview(ok);
    window->addSubview(cancel);
    ok->setAction([control](ui::Control& sender) { control->profileWindowOK(&sender); });
    cancel->setAction([control](ui::Control& sender) { control->profileWindowCancel(&sender); });

    objects.advancedView->button_ManageProfile->setAction(
        [control](ui::Control& sender) { control->showProfileManagementWindow(sender); });
}

void wireButtons(PDEMainObjects& objects) {
    PainChangeController* painChange = objects.painChange.get();
    AdvancedColorOptions* advanced = objects.advancedView;
    objects.colorView->button_AdvanceColorOptions->setAction(
        [painChange](ui::Control& sender) { painChange->ColorToAdvancedView(sender); });
    advanced->button_HideAdvancedOptions->setAction(
        [painChange](ui::Control& sender) { painChange->AdvancedToColorView(sender); });
    advanced->button_DownloadManager->setAction(
        [advanced](ui::Control& sender) { advanced->downloadManagerButton(sender); });
}

}  // namespace

std::unique_ptr<PDEMainObjects> loadPDEMain(PDEPlugInInterface& owner) {
    std::unique_ptr<PDEMainObjects> objects(new (std::nothrow) PDEMainObjects);
    if (!objects) {
        return nullptr;
    }
    try {
        Builder b(*objects, owner);
        objects->mainView = b.make<ui::View>(kPDEMainViewID);
        objects->mainView->setFrame(kPanelFrame);
        objects->container = b.make<ui::View>(kPDEContainerViewID);
        objects->container->setFrame(kPaneFrame);
        objects->container->setBounds({0, 0, kPaneFrame.width, kPaneFrame.height});
        objects->mainView->addSubview(objects->container);

        objects->colorView = b.make<ColorOptions>(kPDEColorPaneID);
        objects->advancedView = b.make<AdvancedColorOptions>(kPDEAdvancedPaneID);
        buildColorOptions(b, *objects->colorView);
        buildAdvancedColorOptions(b, *objects->advancedView);
        // The definition shows the Color Options pane.
        objects->container->addSubview(objects->colorView);

        objects->painChange = std::make_unique<PainChangeController>();
        objects->painChange->onColorView = objects->colorView;
        objects->painChange->onAdvancedView = objects->advancedView;
        objects->painChange->onMainCustomView = objects->container;
        wireButtons(*objects);
        objects->profileControl = std::make_unique<ProfileControl>();
        buildProfileWindow(b, *objects);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return objects;
}

}  // namespace t48::pde
