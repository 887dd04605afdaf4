// The launch settings: what COMMAND.TXT says, with the folders and pages derived from it.
#pragma once

#include <cstdint>
#include <string>

#include "res/resource.h"

namespace orvane {

// Owned by the application object; filled once at start-up and read-only afterwards. Folder
// fields that are not empty end in '/'. After loading, exactly one of `viewerCommand` and
// `settingsMessage` is not empty.
struct LaunchSettings {
    std::string baseFolder;          // where COMMAND.TXT was found
    std::string appFolder;           // the program's own folder
    std::string settingsPath;        // COMMAND.TXT itself, or empty
    std::string viewerCommand;       // the image viewer's command line
    std::string viewerWorkingDir;    // the viewer's working folder; empty means `baseFolder`
    std::string settingsMessage;     // why there is no viewer command
    std::int32_t waitInterval = 10;  // seconds the launch notice stays
    std::int32_t showWindowCmd = res::SW_SHOWNORMAL;  // show state of the main window
    std::string minimumIEVersion;  // lowest acceptable browser version; empty: no check
    std::string ieInstallCommand;  // the browser installer's command line
    bool showMenu = true;          // menu bar, toolbar and status bar
    std::string splashPage;        // the start page
    std::string resultsPage;       // the results page
    std::string resultsFileName;   // the results page's file name, upper case
    std::string windowTitle = "Orvane Start";
    bool displayHTMLDocTitle = true;  // the page title goes in front of the window title
    std::string customHelpPage;       // the disc's own help page, or empty
};

}  // namespace orvane
