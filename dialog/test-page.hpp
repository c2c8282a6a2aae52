#pragma once
// The test page printed when no file is given: one PostScript page with a colour
// wedge per ink, written to a temporary file that goes with the object.

#include <string>

namespace t48::dialog {

class TestPage {
public:
    TestPage() = default;
    ~TestPage();
    TestPage(const TestPage&) = delete;
    TestPage& operator=(const TestPage&) = delete;

    // The page's file, written on the first call; "" with a reason in `error`.
    const std::string& path(std::string& error);

private:
    std::string path_;
};

}  // namespace t48::dialog
