// The icon column's cell: what it draws, where, and when it draws nothing.

#include <gtest/gtest.h>

#include <fstream>

#include "child-process.hpp"
#include "iconed-cell.hpp"

namespace t48::pde {
namespace {

class IconedCellDrawing : public ::testing::Test {
protected:
    void SetUp() override {
        iconPath_ = dir_.file("bt48ps.icns");
        std::ofstream(iconPath_) << "icns";
        cell_.setImage(ui::Image::imageWithContentsOfFile(iconPath_));
        ASSERT_NE(cell_.image(), nullptr);
    }

    testing::TempDir dir_;
    std::string iconPath_;
    IconedCell cell_;
    ui::View view_;
};

TEST_F(IconedCellDrawing, DrawsSixteenPointImageThreePointsIn) {
    cell_.drawInteriorWithFrame({10, 20, 40, 18}, view_);
    ASSERT_EQ(view_.drawings().size(), 1u);
    const ui::ImageDrawing& drawn = view_.drawings()[0];
    EXPECT_EQ(drawn.imagePath, iconPath_);
    EXPECT_DOUBLE_EQ(drawn.point.x, 13);
    EXPECT_DOUBLE_EQ(drawn.point.y, 20);
    EXPECT_DOUBLE_EQ(drawn.size.width, 16);
    EXPECT_DOUBLE_EQ(drawn.size.height, 16);
    EXPECT_EQ(drawn.operation, ui::CompositingOperation::SourceOver);
}

TEST_F(IconedCellDrawing, FlippedViewPlacesTheCornerOneIconLower) {
    view_.setFlipped(true);
    cell_.drawInteriorWithFrame({0, 5, 40, 18}, view_);
    ASSERT_EQ(view_.drawings().size(), 1u);
    EXPECT_DOUBLE_EQ(view_.drawings()[0].point.x, 3);
    EXPECT_DOUBLE_EQ(view_.drawings()[0].point.y, 21);
}

TEST_F(IconedCellDrawing, WithoutImageDrawsNothing) {
    cell_.setImage(nullptr);
    cell_.mImage = ui::Image::imageWithContentsOfFile(iconPath_);  // not used for drawing
    cell_.drawInteriorWithFrame({0, 0, 40, 18}, view_);
    EXPECT_TRUE(view_.drawings().empty());
}

TEST(IconImage, UnreadableFileGivesNoImage) {
    testing::TempDir dir;
    EXPECT_EQ(ui::Image::imageWithContentsOfFile(dir.file("missing.icns")), nullptr);
    EXPECT_EQ(ui::Image::imageWithContentsOfFile(dir.path()), nullptr);
}

}  // namespace
}  // namespace t48::pde
