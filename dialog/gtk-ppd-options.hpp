#pragma once
// The panel's options kept out of GTK's own widgets for the PPD options of a queue.
//
// GTK's print dialog makes a widget of its own for every option of a queue's PPD (the
// T48's on its Color tab), and has no public means to leave one out, nor to show a value
// set elsewhere: beside the panel's tab, its copy of the panel's options would disagree
// with the panel, and a choice made in it would be lost at Print. GTK's CUPS backend, a
// module loaded into this program, localizes each queue's PPD with libcups's ppdLocalize
// right after opening it and before it makes the widgets. This program defines
// ppdLocalize itself (the program's symbols come first in the module's lookup): it runs
// libcups's, then makes the panel's options PickMany, a kind GTK makes no widget for, and
// so ColorModel of a PPD that has the panel's options. The panel's own PPD is opened by
// the hosting library and never localized.

#include <string>
#include <vector>

namespace t48::dialog {

// The options GTK's backend is to leave out of every PPD it opens from now on, with
// ColorModel wherever any of them is.
void keepOptionsFromGtkWidgets(std::vector<std::string> keys);

}  // namespace t48::dialog
