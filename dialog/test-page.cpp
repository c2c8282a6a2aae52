#include "test-page.hpp"

#include <glib.h>
#include <glib/gstdio.h>
#include <unistd.h>

namespace t48::dialog {
namespace {

// A4 and Letter both hold it: the wedges sit inside 8 x 10 inches.
constexpr const char* kTestPage = R"(%!PS-Adobe-3.0
%%Title: T48 test page
%%Pages: 1
%%BoundingBox: 36 36 576 756
%%EndComments
%%Page: 1 1
/Helvetica-Bold findfont 28 scalefont setfont
72 700 moveto (T48 Color Options test page) show
/Helvetica findfont 12 scalefont setfont
72 680 moveto (Printed through the Color Options panel of t48-print-dialog.) show
/wedge { % c m y k row
  /row exch def
  0 1 9 {
    /step exch def
    gsave
    4 copy 4 { step 10 div mul 4 1 roll } repeat setcmykcolor
    72 step 48 mul add 600 row 60 mul sub 44 44 rectfill
    grestore
  } for
  pop pop pop pop
} def
1 0 0 0 0 wedge
0 1 0 0 1 wedge
0 0 1 0 2 wedge
0 0 0 1 3 wedge
1 0.5 0 0 4 wedge
showpage
%%EOF
)";

}  // namespace

TestPage::~TestPage() {
    if (!path_.empty()) {
        g_unlink(path_.c_str());
    }
}

const std::string& TestPage::path(std::string& error) {
    if (!path_.empty()) {
        return path_;
    }
    gchar* name = nullptr;
    GError* failure = nullptr;
    const gint fd = g_file_open_tmp("t48-test-page-XXXXXX.ps", &name, &failure);
    if (fd < 0) {
        error = std::string("cannot write the test page: ") + failure->message;
        g_error_free(failure);
        return path_;
    }
    close(fd);
    if (!g_file_set_contents(name, kTestPage, -1, &failure)) {
        error = std::string("cannot write the test page: ") + failure->message;
        g_error_free(failure);
        g_unlink(name);
    } else {
        path_ = name;
    }
    g_free(name);
    return path_;
}

}  // namespace t48::dialog
