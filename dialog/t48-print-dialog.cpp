// t48-print-dialog: GTK's print dialog on the CUPS queues, with the Color Options panel
// as a tab of its own and the profile window as a real window.

#include <atk-bridge.h>
#include <gtk/gtk.h>

#include <clocale>
#include <filesystem>
#include <iostream>

#include "print-dialog.hpp"
#include "program-files.hpp"

namespace {

constexpr const char* kUsage = "usage: t48-print-dialog [--plugin FILE] [FILE]";

int fail(const std::string& message) {
    std::cerr << "t48-print-dialog: " << message << "\n";
    return t48::dialog::kDialogUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    std::string plugin;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help") {
            std::cout << kUsage << "\n";
            return 0;
        }
        if (word == "--plugin" && i + 1 < argc) {
            plugin = argv[++i];
        } else if (word.rfind("--", 0) == 0 || !file.empty()) {
            return fail("unexpected " + word + "\n" + kUsage);
        } else {
            file = word;
        }
    }
    if (!file.empty() && !std::filesystem::is_regular_file(file)) {
        return fail("cannot read " + file);
    }
    // The plug-in first: a missing or broken one is told also where no display is.
    t48::hosting::PlugInLibrary library;
    std::string error;
    if (!library.open(plugin.empty() ? t48::hosting::defaultPlugInPath() : plugin, error)) {
        return fail(error);
    }
    g_set_prgname("t48-print-dialog");
    if (!gtk_init_check(&argc, &argv)) {
        return fail("cannot open a display (is DISPLAY set?)");
    }
    const std::string configFolder = std::string(g_get_user_config_dir()) + "/t48";
    t48::dialog::PrintDialog dialog(library, file, configFolder);
    const int status = dialog.run();
    // The program leaves the accessibility bus before the dialog goes, as it would at its
    // exit: GTK 3's accessibles of the dialog's notebook pages, once a screen reader has
    // asked for them, ask for the tab labels of pages already removed as the notebook is
    // destroyed (a Gtk-CRITICAL each).
    atk_bridge_adaptor_cleanup();
    return status;
}
