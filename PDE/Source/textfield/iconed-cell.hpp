#pragma once
// The cell of the profile table's icon column: draws the image the table gives it,
// 16 x 16 points, 3 points in from the left of its frame; never text.

#include <cstdint>
#include <memory>

#include "cell.hpp"

namespace t48::pde {

class IconedCell : public ui::Cell {
public:
    void drawInteriorWithFrame(const ui::Rect& frame, ui::View& view) override;

    // Declared by the cell but not used by its drawing.
    std::shared_ptr<ui::Image> mImage;
    uint8_t mIconFlag = 0;
};

}  // namespace t48::pde
