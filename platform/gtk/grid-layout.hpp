#pragma once
// The interface definition places views on a grid of cells by their frames; GTK sizes
// the columns and rows to what they hold, so no text is cut in any language.

#include <vector>

#include "controls.hpp"

namespace t48::gtkui::detail {

struct GridCell {
    int column = 0;
    int row = 0;
    int columns = 1;
};

// The cell of each view, in the order given: columns and rows are the distinct left
// and top edges of the frames, a view spans the columns that begin inside it.
std::vector<GridCell> gridCells(const std::vector<ui::View*>& views);

// For each view, the index of the label that names it, or -1. Only a control without a
// text of its own (a popup, a text field, a table) is named: by the label right next to
// it on its left, else, with nothing to its left, by a label alone in the row above.
std::vector<int> labelOf(const std::vector<ui::View*>& views, const std::vector<GridCell>& cells);

}  // namespace t48::gtkui::detail
