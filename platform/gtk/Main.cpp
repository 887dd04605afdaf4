// orvanestart: the start program of a patient imaging disc, on GTK and WebKitGTK.
#include <gtk/gtk.h>

#include <string>

#include "app/OrvaneStartApp.h"
#include "frame/MainFrame.h"
#include "platform/gtk/GtkUi.h"
#include "platform/gtk/GtkWindowSystem.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/posix/PosixProcessLauncher.h"
#include "platform/posix/PosixSystem.h"

int main(int argc, char** argv) {
    using namespace orvane;
    // First of all, so that the trial runs while the toolkit starts.
    platform::gtk::SandboxTrial sandbox;
    // Programs started from the disc get the environment this program was started with.
    auto environment = platform::posix::PosixProcessLauncher::CurrentEnvironment();
    // The program writes no files of its own: settings live in memory only.
    g_setenv("GSETTINGS_BACKEND", "memory", FALSE);
    if (!gtk_init_check(&argc, &argv)) {
        // There is no display to show anything on; say so where the user started us.
        g_printerr("%s\n", std::string(res::LoadString(res::IDS_APP_TITLE)).c_str());
        return 1;
    }
    g_set_prgname("orvanestart");
    g_set_application_name(std::string(res::LoadString(res::IDS_APP_TITLE)).c_str());
    // Not even a list of recently used files.
    g_object_set(gtk_settings_get_default(), "gtk-recent-files-enabled", FALSE, nullptr);

    platform::posix::PosixSystem system;
    platform::posix::PosixFileSystem files;
    platform::posix::PosixProcessLauncher processes(files, std::move(environment));
    platform::gtk::GtkUi ui;
    platform::gtk::GtkWindowSystem windows(ui, sandbox);

    COrvaneStartApp app({system, files, processes, ui}, MainFrameMaker(windows));
    if (!app.InitInstance())
        return 0;
    windows.Run();
    return 0;
}
