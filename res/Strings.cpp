// The string table.
#include <algorithm>
#include <array>
#include <utility>

#include "res/Resources.h"

namespace orvane::res {
namespace {

struct Entry {
    int id;
    std::string_view text;
};

// Sorted by id.
constexpr std::array kStrings{
    Entry{IDP_SOCKETS_INIT_FAILED, "Windows sockets initialization failed."},
    Entry{IDR_MAINFRAME,
          "Orvane Start\n\nOrvane Start\n\n\nOrvaneStart.Document\nOrvaneStart Document"},
    Entry{736, "https://webkitgtk.org/"},
    Entry{737, "https://webkitgtk.org/reference/webkit2gtk/stable/"},
    Entry{738, "https://webkitgtk.org/news.html"},
    Entry{741, "https://webkitgtk.org/security.html"},
    Entry{742, "https://webkitgtk.org/reference/webkit2gtk/stable/class.Settings.html"},
    Entry{743, "https://webkitgtk.org/reference/webkit2gtk/stable/class.WebView.html"},
    Entry{744, "https://webkitgtk.org/reference/webkit2gtk/stable/class.WebContext.html"},
    Entry{745, "https://bugs.webkit.org/"},
    Entry{746, "https://webkit.org/"},
    Entry{747, "https://webkit.org/blog/"},
    Entry{IDS_REFRESH, "Refresh"},
    Entry{IDS_FONT, "Font"},
    Entry{IDS_OPEN_FILE_FILTER,
          "HTML Files|*.htm;*.html|Text Files|*.txt|GIF Files|*.gif|JPEG Files|*.jpg;*.jpeg|AU "
          "Files|*.au|AIFF Files|*.aif;*.aiff|XBM Files|*.xbm|All Files|*.*||"},
    Entry{IDS_MSG_NO_VIEWER_COMMAND_KEY,
          "COMMAND.TXT file does not contain the 'ViewerCommand' setting, which must be the "
          "relative path to the DICOM viewer EXE.\n\n"},
    Entry{IDS_MSG_SETTINGS_EMPTY,
          "COMMAND.TXT file is empty. This text file must contain the relative path to the DICOM "
          "viewer EXE.\n\n"},
    Entry{IDS_MSG_NO_VIEWER_LINE,
          "COMMAND.TXT file does not contain the relative path to the DICOM viewer EXE.\n\n"},
    Entry{IDS_MSG_SETTINGS_NOT_FOUND, "Unable to locate file COMMAND.TXT.\n\n"},
    Entry{IDS_FILE_ERROR_NOT_FOUND, "%1 was not found."},
    Entry{IDS_FILE_ERROR_ACCESS_DENIED, "Access to %1 was denied."},
    Entry{IDS_FILE_ERROR_NOT_A_FILE, "%1 is not a file that can be read."},
    Entry{IDS_FILE_ERROR_BAD_PATH, "%1 contains an incorrect path."},
    Entry{IDS_FILE_ERROR_GENERIC, "An unexpected error occurred while accessing %1."},
    Entry{IDS_FILE_UNNAMED, "an unnamed file"},
    Entry{IDS_MSG_INSTALL_FAILED,
          "Unable to launch install program %s.\nInternet Explorer was not installed/upgraded."},
    Entry{IDS_MSG_CANNOT_LAUNCH_VIEWER, "Cannot launch viewer. "},
    Entry{IDS_MSG_VIEWER_COMMAND_INVALID, "Unable to run DICOM Viewer. Command is invalid:\n  %s."},
    Entry{IDS_VIEW_IMAGES, "View Images"},
    Entry{IDS_VIEW_RESULTS, "View Results"},
    Entry{IDS_START_PAGE, "Start Page"},
    Entry{IDS_UNTITLED, "Untitled"},
    Entry{IDS_BROWSER_CHECK_CAPTION, "Internet Explorer version check"},
    Entry{IDS_BROWSER_CHECK_TEXT,
          "You must install a newer version of Internet Explorer to use this CD/DVD. Click "
          "'Install' to begin installation from the CD/DVD or 'Cancel' to exit without "
          "installing."},
    Entry{IDS_BROWSER_CHECK_INSTALL, "Install Internet Explorer"},
    Entry{IDS_CANCEL, "Cancel"},
    Entry{IDS_OK, "OK"},
    Entry{IDS_ABOUT_CAPTION, "About"},
    Entry{IDS_ABOUT_VERSION, "OrvaneStart version 3.0"},
    Entry{IDS_ABOUT_NOTICE, "Copyright (C) 2026 OrvaneStart"},
    Entry{IDS_LAUNCHING_CAPTION, "DICOM Viewer"},
    Entry{IDS_LAUNCHING_TEXT, "Launching DICOM Image Viewer..."},
    Entry{IDS_MSG_NO_CUSTOM_HELP, "Sorry! Custom help is not available."},
    Entry{IDS_OPEN_DIALOG_TITLE, "Open"},
    Entry{IDS_OPEN_DIALOG_ACCEPT, "&Open"},
    Entry{IDS_NO_START_PAGE, "This medium has no start page."},
    Entry{ID_VIEW_STOP, "Stops opening a file.\nStop"},
    Entry{ID_VIEW_REFRESH, "Refreshes the contents of the current page.\nRefresh"},
    Entry{ID_FONT_LARGEST, "Selects largest font size."},
    Entry{ID_FONT_LARGE, "Selects large font size."},
    Entry{ID_FONT_MEDIUM, "Selects medium font size."},
    Entry{ID_FONT_SMALL, "Selects small font size."},
    Entry{ID_FONT_SMALLEST, "Selects smallest font size."},
    Entry{ID_GO_BACK, "Goes back one step.\nBack"},
    Entry{ID_GO_FORWARD, "Goes forward one step.\nForward"},
    Entry{ID_GO_HOME, "Opens your start page.\nStart Page"},
    Entry{ID_GO_SEARCH, "Opens your search page.\nSearch the Internet"},
    Entry{ID_FAVORITES_DROPDOWN, "View list of your personal favorites.\nFavorites"},
    Entry{ID_FONT_DROPDOWN, "Change font size.\nFonts"},
    Entry{ID_HELP_WEB_TUTORIAL, "Opens the Web tutorial page (on the Internet)."},
    Entry{IDS_APP_TITLE, "Orvane Start"},
    Entry{IDS_IDLE_MESSAGE, "Ready"},
    Entry{ID_FILE_OPEN, "Opens a document in this window."},
    Entry{ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    Entry{ID_APP_EXIT, "Closes the window."},
    Entry{IDS_INDICATOR_CAPS, "CAP"},
    Entry{IDS_INDICATOR_NUM, "NUM"},
    Entry{IDS_INDICATOR_SCRL, "SCRL"},
    Entry{IDS_REGISTRY_KEY, "Talvik\\Orvane"},
    Entry{IDS_NO_RESULTS, "This medium does not contain results."},
};

constexpr bool SortedById() {
    for (std::size_t i = 1; i < kStrings.size(); ++i) {
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(SortedById(), "the string table must stay sorted by id");

}  // namespace

std::string_view LoadString(int id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const Entry& e, int key) { return e.id < key; });
    return it != kStrings.end() && it->id == id ? it->text : std::string_view{};
}

std::string_view CommandPrompt(int commandId) {
    std::string_view text = LoadString(commandId);
    return text.substr(0, text.find('\n'));
}

std::string_view CommandTooltip(int commandId) {
    std::string_view text = LoadString(commandId);
    auto lf = text.find('\n');
    return lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
}

}  // namespace orvane::res
