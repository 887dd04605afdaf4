/* bare_window: the baseline of the start-up benchmark. A GTK window of the program's size (two
 * thirds of the monitor's work area, centred) holding a WebKit view with default settings that
 * loads the address given and shows the page's title as the window title. Nothing else.
 *
 *   bare_window [--sandbox] [--cpu] URI
 *
 * --sandbox puts the web process in WebKit's sandbox, as orvanestart does where the system
 * allows it: the floor of a window that keeps its pages in the sandbox. --cpu has the pages drawn
 * on the processor without compositing through the graphics driver, as orvanestart has them. */
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

static void copy_title(WebKitWebView* view, GParamSpec* spec, gpointer window) {
    (void)spec;
    const char* title = webkit_web_view_get_title(view);
    gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    int first = 1;
    gboolean sandbox = FALSE, cpu = FALSE;
    for (; first < argc; ++first) {
        if (g_strcmp0(argv[first], "--sandbox") == 0)
            sandbox = TRUE;
        else if (g_strcmp0(argv[first], "--cpu") == 0)
            cpu = TRUE;
        else
            break;
    }
    if (argc != first + 1) {
        g_printerr("usage: bare_window [--sandbox] [--cpu] URI\n");
        return 2;
    }
    if (sandbox)
        webkit_web_context_set_sandbox_enabled(webkit_web_context_get_default(), TRUE);

    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    int width = 1024, height = 720;
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : NULL;
    if (!monitor && display)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor) {
        GdkRectangle area;
        gdk_monitor_get_workarea(monitor, &area);
        width = MAX(640, area.width * 2 / 3);
        height = MAX(480, area.height * 2 / 3);
    }
    gtk_window_set_default_size(GTK_WINDOW(window), width, height);
    gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), NULL);

    GtkWidget* view = webkit_web_view_new();
    if (cpu) {
        webkit_settings_set_hardware_acceleration_policy(
            webkit_web_view_get_settings(WEBKIT_WEB_VIEW(view)),
            WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    }
    g_signal_connect(view, "notify::title", G_CALLBACK(copy_title), window);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), argv[first]);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
