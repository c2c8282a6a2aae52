// "PDEMain", the panel's interface definition as code: the views, the 59 pane controls
// under their outlet names, the outlets of the panes and of the pane switching
// controller, and the actions.

#include "pde-main.hpp"

#include <new>
#include <type_traits>
#include <utility>

#include "pde-bundle.hpp"
#include "pde-plugin.hpp"

namespace t48::pde {
namespace {

constexpr ui::Rect kPanelFrame = {0, 0, 496, 380};
constexpr ui::Rect kPaneFrame = {0, 0, 496, 350};
constexpr int kGroupTabCount = 4;  // Image, Text, Graphics, Simulation
constexpr ui::Rect kProfileWindowFrame = {0, 0, 560, 420};
// The class popup's items: class index 0, 1, 2.
constexpr const char* kProfileClassTitles[] = {"RGB", "SIM", "DST"};
// The table's columns: identifier and the key of the header's title.
constexpr std::pair<const char*, const char*> kProfileColumns[] = {{"icon", ""},
                                                                   {"inmenu", "In Menu"},
                                                                   {"filename", "File Name"},
                                                                   {"profilename", "Profile Name"},
                                                                   {"location", "Location"}};

// Views are placed on a grid of cells counted from the top left; a window system sizes
// the columns and rows to what they hold.
constexpr double kCellWidth = 160;
constexpr double kCellHeight = 28;

void place(ui::View& view, int column, int row, int columns = 1) {
    view.setFrame({column * kCellWidth, row * kCellHeight, columns * kCellWidth, kCellHeight});
}

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

    place(*color.text_QuickColor, 0, 0);
    place(*color.menu_QuickColor, 1, 0);
    place(*color.text_Brightness, 0, 1);
    place(*color.menu_Brightness, 1, 1);
    place(*color.check_ColorAsGrayscale, 0, 2, 2);
    place(*color.check_ColorSeparation, 0, 3, 2);
    place(*color.check_EconomyPrint, 0, 4, 2);
    place(*color.text_Strength, 0, 5);
    place(*color.menu_EdgeStrength, 1, 5);
    place(*color.check_AutoTrapping, 0, 6, 2);
    place(*color.text_BlackOverprint, 0, 7);
    place(*color.menu_BlackOverprint, 1, 7);
    place(*color.button_AdvanceColorOptions, 1, 8);
}

void buildAdvancedColorOptions(Builder& b, AdvancedColorOptions& a) {
    const auto constraints = &PDEPlugInInterface::constraints;
    // One content view per tab: Image, Text, Graphics, Simulation.
    ui::View* image = b.make<ui::View>("ImageGroup");
    ui::View* text = b.make<ui::View>("TextGroup");
    ui::View* graphics = b.make<ui::View>("GraphicsGroup");
    ui::View* simulation = b.make<ui::View>("SimulationGroup");
    b.add(*image, a.menu_iRGBSource, "menu_iRGBSource", constraints);
    b.add(*image, a.menu_iRGBIntent, "menu_iRGBIntent", constraints);
    b.add(*image, a.menu_iRGBGrayTreatment, "menu_iRGBGrayTreatment", constraints);
    b.add(*image, a.menu_iDestinationProfile, "menu_iDestinationProfile", constraints);
    b.add(*image, a.menu_iHalftone, "menu_iHalftone", constraints);
    b.add(*image, a.menu_iEdgeEnhancement, "menu_iEdgeEnhancement", constraints);
    b.add(*text, a.menu_tRGBSource, "menu_tRGBSource", constraints);
    b.add(*text, a.menu_tRGBIntent, "menu_tRGBIntent", constraints);
    b.add(*text, a.menu_tRGBGrayTreatment, "menu_tRGBGrayTreatment", constraints);
    b.add(*text, a.menu_tDestinationProfile, "menu_tDestinationProfile", constraints);
    b.add(*text, a.menu_tHalftone, "menu_tHalftone", constraints);
    b.add(*text, a.menu_tEdgeEnhancement, "menu_tEdgeEnhancement", constraints);
    b.add(*graphics, a.menu_gRGBSource, "menu_gRGBSource", constraints);
    b.add(*graphics, a.menu_gRGBIntent, "menu_gRGBIntent", constraints);
    b.add(*graphics, a.menu_gRGBGrayTreatment, "menu_gRGBGrayTreatment", constraints);
    b.add(*graphics, a.menu_gDestinationProfile, "menu_gDestinationProfile", constraints);
    b.add(*graphics, a.menu_gHalftone, "menu_gHalftone", constraints);
    b.add(*graphics, a.menu_gEdgeEnhancement, "menu_gEdgeEnhancement", constraints);
    b.add(*simulation, a.menu_sSimulationProfile, "menu_sSimulationProfile", constraints);
    b.add(*simulation, a.menu_sMatchPaperColor, "menu_sMatchPaperColor", constraints);
    b.add(*simulation, a.menu_sCMYKGrayTreatment, "menu_sCMYKGrayTreatment", constraints);
    b.add(a, a.tab_SwitchVew, "tab_SwitchVew", kGroupTabCount);
    for (ui::View* group : {image, text, graphics, simulation}) {
        a.tab_SwitchVew->addSubview(group);
    }
    b.add(*image, a.text_iRGBSource, "text_iRGBSource");
    b.add(*image, a.text_iRGBIntent, "text_iRGBIntent");
    b.add(*image, a.text_iRGBGrayTreatment, "text_iRGBGrayTreatment");
    b.add(*image, a.text_iDestinationProfile, "text_iDestinationProfile");
    b.add(*image, a.text_iHalftone, "text_iHalftone");
    b.add(*image, a.text_iEdgeEnhancement, "text_iEdgeEnhancement");
    b.add(*text, a.text_tRGBSource, "text_tRGBSource");
    b.add(*text, a.text_tRGBIntent, "text_tRGBIntent");
    b.add(*text, a.text_tRGBGrayTreatment, "text_tRGBGrayTreatment");
    b.add(*text, a.text_tDestinationProfile, "text_tDestinationProfile");
    b.add(*text, a.text_tHalftone, "text_tHalftone");
    b.add(*text, a.text_tEdgeEnhancement, "text_tEdgeEnhancement");
    b.add(*graphics, a.text_gRGBSource, "text_gRGBSource");
    b.add(*graphics, a.text_gRGBIntent, "text_gRGBIntent");
    b.add(*graphics, a.text_gRGBGrayTreatment, "text_gRGBGrayTreatment");
    b.add(*graphics, a.text_gDestinationProfile, "text_gDestinationProfile");
    b.add(*graphics, a.text_gHalftone, "text_gHalftone");
    b.add(*graphics, a.text_gEdgeEnhancement, "text_gEdgeEnhancement");
    b.add(*simulation, a.text_sSimulationProfile, "text_sSimulationProfile");
    b.add(*simulation, a.text_sMatchPaperColor, "text_sMatchPaperColor");
    b.add(*simulation, a.text_sCMYKGrayTreatment, "text_sCMYKGrayTreatment");
    b.add(a, a.button_ManageProfile, "button_ManageProfile");
    b.add(a, a.button_DownloadManager, "button_DownloadManager");
    b.add(a, a.button_HideAdvancedOptions, "button_HideAdvancedOptions");

    // Each group: its labels in the first column, their popups beside them.
    for (ui::View* group : {image, text, graphics, simulation}) {
        const auto& controls = group->subviews();
        const std::size_t rows = controls.size() / 2;
        for (std::size_t row = 0; row < rows; ++row) {
            place(*controls[rows + row], 0, static_cast<int>(row));
            place(*controls[row], 1, static_cast<int>(row));
        }
    }
    place(*a.tab_SwitchVew, 0, 0, 3);
    place(*a.button_ManageProfile, 0, 1);
    place(*a.button_DownloadManager, 1, 1);
    place(*a.button_HideAdvancedOptions, 2, 1);
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
    // The class popup and the table, each under a label of its own.
    auto* classLabel = b.make<ui::Label>("profileClassText");
    auto* tableLabel = b.make<ui::Label>("profileTableText");
    window->addSubview(classLabel);
    put(control->_profileMenu, "_profileMenu");
    for (const char* title : kProfileClassTitles) {
        control->_profileMenu->addItemWithTitle(title);
    }
    window->addSubview(tableLabel);
    put(control->_profileTableView, "_profileTableView");
    for (const auto& [identifier, titleKey] : kProfileColumns) {
        auto column = std::make_unique<ui::TableColumn>(identifier);
        if (*titleKey != '\0') {
            column->setTitle(localizedString(titleKey).value_or(titleKey));
        }
        control->_profileTableView->addTableColumn(std::move(column));
    }
    control->_profileTableView->setDataSource(control);
    control->_profileTableView->setDelegate(control);
    control->_profileTableView->setFlipped(true);

    put(control->_addButton, "_addButton");
    put(control->_editButton, "_editButton");
    put(control->_deleteButton, "_deleteButton");
    put(control->_editGroupBox, "_editGroupBox");
    // The edit part lies inside its box.
    ui::Box* box = control->_editGroupBox;
    auto inBox = [&](auto*& outlet, const char* name) {
        outlet = b.make<std::remove_reference_t<decltype(*outlet)>>(name);
        box->addSubview(outlet);
    };
    inBox(control->_fileNameText, "_fileNameText");
    inBox(control->_fileNameEdit, "_fileNameEdit");
    inBox(control->_browse, "_browse");
    inBox(control->_profileNameText, "_profileNameText");
    inBox(control->_profileNameEdit, "_profileNameEdit");
    inBox(control->_locationText, "_locationText");
    inBox(control->_locationMenu, "_locationMenu");
    inBox(control->_localCancel, "_localCancel");
    inBox(control->_localOK, "_localOK");

    // The window's own buttons: Return presses OK, Escape Cancel.
    auto* ok = b.make<ui::PushButton>("profileWindowOK");
    auto* cancel = b.make<ui::PushButton>("profileWindowCancel");
    window->addSubview(cancel);
    window->addSubview(ok);
    ok->setKeyEquivalent(ui::PushButton::kKeyReturn);
    cancel->setKeyEquivalent(ui::PushButton::kKeyEscape);
    control->_profileWindowOK = ok;
    control->_profileWindowCancel = cancel;
    put(control->_waitingText, "_waitingText");

    const std::pair<ui::PushButton*, const char*> buttonTitles[] = {
        {control->_addButton, "Add"},
        {control->_editButton, "Edit"},
        {control->_deleteButton, "Delete"},
        {control->_browse, "Browse..."},
        {control->_localCancel, "Cancel"},
        {control->_localOK, "OK"},
        {cancel, "Cancel"},
        {ok, "OK"}};
    for (const auto& [button, key] : buttonTitles) {
        button->setTitle(localizedString(key).value_or(key));
    }
    const std::pair<ui::Label*, const char*> labelTexts[] = {
        {classLabel, "Profile Class:"},
        {tableLabel, "Profiles:"},
        {control->_fileNameText, "File Name:"},
        {control->_profileNameText, "Profile Name:"},
        {control->_locationText, "Location:"}};
    for (const auto& [label, key] : labelTexts) {
        label->setStringValue(localizedString(key).value_or(key));
    }
    box->setTitle(localizedString("Profile").value_or("Profile"));

    place(*classLabel, 0, 0);
    place(*control->_profileMenu, 1, 0);
    place(*tableLabel, 0, 1, 4);
    place(*control->_profileTableView, 0, 2, 4);
    place(*control->_addButton, 0, 3);
    place(*control->_editButton, 1, 3);
    place(*control->_deleteButton, 2, 3);
    place(*box, 0, 4, 4);
    place(*control->_fileNameText, 0, 0);
    place(*control->_fileNameEdit, 1, 0);
    place(*control->_browse, 2, 0);
    place(*control->_profileNameText, 0, 1);
    place(*control->_profileNameEdit, 1, 1);
    place(*control->_locationText, 0, 2);
    place(*control->_locationMenu, 1, 2);
    place(*control->_localCancel, 1, 3);
    place(*control->_localOK, 2, 3);
    place(*cancel, 2, 5);
    place(*ok, 3, 5);
    place(*control->_waitingText, 0, 6, 4);

    act(control->_profileMenu, &ProfileControl::profileMenu);
    act(control->_addButton, &ProfileControl::addButton);
    act(control->_editButton, &ProfileControl::editButton);
    act(control->_deleteButton, &ProfileControl::deleteButton);
    act(control->_browse, &ProfileControl::browseButton);
    act(control->_localOK, &ProfileControl::profileOK);
    act(control->_localCancel, &ProfileControl::profileCancel);

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
