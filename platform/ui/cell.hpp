#pragma once
// Headless cells, images and fonts. Drawing records what would be drawn in the view
// (View::drawings), which is what a headless host and the tests can look at.

#include <memory>
#include <string>

#include "controls.hpp"

namespace t48::ui {

struct Font {
    std::string family;  // "system" or "user"
    double pointSize = 0;
    static Font systemFontOfSize(double size) { return {"system", size}; }
    static Font userFontOfSize(double size) { return {"user", size}; }
    bool operator==(const Font&) const = default;
};

class Image {
public:
    // nullptr when the file cannot be read.
    static std::shared_ptr<Image> imageWithContentsOfFile(const std::string& path);

    const std::string& path() const { return path_; }
    const Size& size() const { return size_; }
    void setSize(Size size) { size_ = size; }
    // Records the image in `view` with its bottom-left corner at `point`.
    void drawAtPoint(View& view, Point point, CompositingOperation operation) const;

private:
    explicit Image(std::string path) : path_(std::move(path)) {}
    std::string path_;
    Size size_{32, 32};
};

class Cell {
public:
    virtual ~Cell() = default;
    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image) { image_ = std::move(image); }
    const Font& font() const { return font_; }
    void setFont(const Font& font) { font_ = font; }
    // Draws the cell's content inside `frame` of `view`; a plain cell draws nothing
    // headless.
    virtual void drawInteriorWithFrame(const Rect& frame, View& view);
    // The check box cell this is, if it is one (no RTTI across a plug-in's boundary).
    virtual class ButtonCell* asButtonCell() { return nullptr; }

private:
    std::shared_ptr<Image> image_;
    Font font_ = Font::systemFontOfSize(13);
};

// A check box ("switch") cell.
class ButtonCell : public Cell {
public:
    ButtonCell* asButtonCell() override { return this; }
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }
    int state() const { return state_; }
    void setState(int state) { state_ = state; }

private:
    std::string title_;
    int state_ = 0;
};

}  // namespace t48::ui
