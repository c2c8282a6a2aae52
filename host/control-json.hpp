#pragma once
// A control as JSON: its kind, enabled state and what it shows.

#include <string>

#include "controls.hpp"

namespace t48::host {

std::string controlJSON(const ui::Control& control);

}  // namespace t48::host
