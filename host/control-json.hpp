#pragma once
// A control as JSON: its kind, enabled state and what it shows.

#include "controls.hpp"
#include "json-text.hpp"

namespace t48::host {

Json controlJSON(const ui::Control& control);

}  // namespace t48::host
