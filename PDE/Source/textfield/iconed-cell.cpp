#include "iconed-cell.hpp"

namespace t48::pde {
namespace {

constexpr double kIconSide = 16;
constexpr double kIconInset = 3;

}  // namespace

void IconedCell::drawInteriorWithFrame(const ui::Rect& frame, ui::View& view) {
    const std::shared_ptr<ui::Image>& icon = image();
    if (!icon) {
        return;
    }
    icon->setSize({kIconSide, kIconSide});
    ui::Point corner{frame.x + kIconInset, frame.y};
    // The image is placed by its bottom-left corner; in a flipped view that lies one
    // icon height below the frame's top.
    if (view.isFlipped()) {
        corner.y += kIconSide;
    }
    icon->drawAtPoint(view, corner, ui::CompositingOperation::SourceOver);
}

}  // namespace t48::pde
