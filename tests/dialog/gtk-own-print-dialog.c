/* GTK's own print dialog and nothing of ours, as any GTK program shows it: the options of
 * the CUPS queues (CUPS_SERVER honoured) as GTK builds them from each queue's PPD.
 * Exits 0 when the dialog is closed by any button. */

#include <gtk/gtkunixprint.h>

int main(int argc, char** argv) {
    g_set_prgname("gtk-own-print-dialog");
    if (!gtk_init_check(&argc, &argv)) {
        g_printerr("gtk-own-print-dialog: no display\n");
        return 2;
    }
    GtkWidget* dialog = gtk_print_unix_dialog_new("Print", NULL);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
    return 0;
}
