#include "cell.hpp"

#include <unistd.h>

#include <filesystem>

namespace t48::ui {

std::shared_ptr<Image> Image::imageWithContentsOfFile(const std::string& path) {
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error) ||
        access(path.c_str(), R_OK) != 0) {
        return nullptr;
    }
    return std::shared_ptr<Image>(new Image(path));
}

void Image::drawAtPoint(View& view, Point point, CompositingOperation operation) const {
    view.recordDrawing({path_, point, size_, operation});
}

void Cell::drawInteriorWithFrame(const Rect&, View&) {}

}  // namespace t48::ui
