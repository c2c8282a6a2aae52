// panelView runs the write test and the refresh on every request for the view, with the
// real service and helper: an "ipp://" queue is never walked but backed up each time.

#include <fstream>
#include <sstream>

#include "window-fixture.hpp"

namespace t48::pde::testing {
namespace {

using PanelViewTest = ProfileWindowTest;

std::string previousFileText() {
    store::ProfilePaths paths;
    EXPECT_EQ(store::panelProfilePaths(&paths), store::kStoreOK);
    std::ifstream in(paths.previous);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(PanelViewTest, EveryRequestForTheViewBacksUpTheCurrentFileAgain) {
    Lists first;
    first.add(store::kClassRGB, entry(4, "FIRST.ICC"));
    start(first, "ipp://127.0.0.1/queue");

    ASSERT_NE(panel_->panelView(), nullptr);
    EXPECT_NE(previousFileText().find("FIRST.ICC"), std::string::npos);

    Lists second;
    second.add(store::kClassRGB, entry(4, "SECOND.ICC"));
    ASSERT_EQ(store::ZTPListWriteProfile_All(&second[0], &second[1], &second[2]), store::kStoreOK);
    ASSERT_EQ(panel_->panelView(), panel_->panelView()) << "the panel loads once";
    const std::string previous = previousFileText();
    EXPECT_NE(previous.find("SECOND.ICC"), std::string::npos)
        << "the second request for the view made no new backup";
    EXPECT_EQ(previous.find("FIRST.ICC"), std::string::npos);
}

}  // namespace
}  // namespace t48::pde::testing
