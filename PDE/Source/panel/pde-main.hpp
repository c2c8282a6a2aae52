#pragma once
// The interface definition "PDEMain": creates the panel's views and the 59 pane
// controls, connects the outlets of the panes and the pane switching controller, builds
// the profile management window with its controller, and wires each control's action.

#include <memory>
#include <vector>

#include "advanced-color-options.hpp"
#include "color-options.hpp"
#include "pain-change-controller.hpp"
#include "pde-protocol.hpp"
#include "profile-control.hpp"

namespace t48::pde {

class PDEPlugInInterface;

// Everything the interface definition creates; it owns every view and control.
struct PDEMainObjects {
    std::vector<std::unique_ptr<ui::View>> views;
    std::unique_ptr<PainChangeController> painChange;
    ui::View* mainView = nullptr;
    ui::View* container = nullptr;
    ColorOptions* colorView = nullptr;
    AdvancedColorOptions* advancedView = nullptr;
    std::vector<PDENamedControl> controls;  // the pane controls in outlet order
    // The profile management window's controller; its window and controls are in `views`.
    std::unique_ptr<ProfileControl> profileControl;
};

// Loads "PDEMain" with `owner` as the target of the panel's actions; null when the
// objects cannot be made.
std::unique_ptr<PDEMainObjects> loadPDEMain(PDEPlugInInterface& owner);

}  // namespace t48::pde
