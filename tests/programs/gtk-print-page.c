/* gtk-print-page [--dialog] PRINTER [SETTING=VALUE...]
 * A GTK 3 program printing one colour page (red, blue and green areas) through
 * GtkPrintOperation to the CUPS queue PRINTER (CUPS_SERVER honoured), with the given
 * print settings ("cups-ColorModel=Gray" as GTK's own Color tab sets it). With --dialog
 * the user chooses in GTK's print dialog first. Exits 0 once the job is sent, 1 when it
 * cannot be, 3 when the user cancels, 2 on bad usage or without a display. */

#include <gtk/gtk.h>
#include <string.h>

static void draw_page(GtkPrintOperation* operation, GtkPrintContext* context, int page,
                      gpointer data) {
    (void)operation;
    (void)page;
    (void)data;
    cairo_t* cr = gtk_print_context_get_cairo_context(context);
    const double areas[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i) {
        cairo_set_source_rgb(cr, areas[i][0], areas[i][1], areas[i][2]);
        cairo_rectangle(cr, 20 + i * 170, 40, 150, 150);
        cairo_fill(cr);
    }
}

int main(int argc, char** argv) {
    g_set_prgname("gtk-print-page");
    int first = 1;
    const gboolean dialog = argc > 1 && strcmp(argv[1], "--dialog") == 0;
    if (dialog) {
        ++first;
    }
    if (argc <= first) {
        g_printerr("usage: gtk-print-page [--dialog] PRINTER [SETTING=VALUE...]\n");
        return 2;
    }
    if (!gtk_init_check(&argc, &argv)) {
        g_printerr("gtk-print-page: no display\n");
        return 2;
    }
    GtkPrintSettings* settings = gtk_print_settings_new();
    gtk_print_settings_set_printer(settings, argv[first]);
    for (int i = first + 1; i < argc; ++i) {
        gchar** pair = g_strsplit(argv[i], "=", 2);
        if (pair[0] != NULL && pair[1] != NULL) {
            gtk_print_settings_set(settings, pair[0], pair[1]);
        }
        g_strfreev(pair);
    }
    GtkPrintOperation* operation = gtk_print_operation_new();
    gtk_print_operation_set_print_settings(operation, settings);
    gtk_print_operation_set_n_pages(operation, 1);
    gtk_print_operation_set_job_name(operation, "T48 colour page");
    g_signal_connect(operation, "draw-page", G_CALLBACK(draw_page), NULL);
    GError* error = NULL;
    const GtkPrintOperationResult result = gtk_print_operation_run(
        operation,
        dialog ? GTK_PRINT_OPERATION_ACTION_PRINT_DIALOG : GTK_PRINT_OPERATION_ACTION_PRINT,
        NULL, &error);
    int status = 0;
    if (result == GTK_PRINT_OPERATION_RESULT_ERROR) {
        g_printerr("gtk-print-page: %s\n", error != NULL ? error->message : "cannot print");
        g_clear_error(&error);
        status = 1;
    } else if (result == GTK_PRINT_OPERATION_RESULT_CANCEL) {
        status = 3;
    }
    g_object_unref(operation);
    g_object_unref(settings);
    return status;
}
