// Numeric identifiers shared by the program and every backend: commands, resources and strings.
#pragma once

namespace orvane::res {

// Dialog results and standard controls.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Resources.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDR_MAINFRAME = 128;  // menu, accelerator table and document string
inline constexpr int IDI_MAINFRAME = 130;
inline constexpr int IDR_FONT_DROPDOWN = 132;
inline constexpr int IDD_LAUNCHING = 134;
inline constexpr int IDD_BROWSER_CHECK = 137;
inline constexpr int IDB_TOOLBAR_COLD = 261;
inline constexpr int IDB_TOOLBAR_HOT = 262;
inline constexpr int IDC_LAUNCHING_TEXT = 1002;

// Strings.
inline constexpr int IDP_SOCKETS_INIT_FAILED = 104;
inline constexpr int IDS_HELP_LINK_FIRST = 736;  // 736 to 738 and 741 to 747: help web addresses
inline constexpr int IDS_REFRESH = 751;
inline constexpr int IDS_FONT = 756;
inline constexpr int IDS_OPEN_FILE_FILTER = 1201;
inline constexpr int IDS_APP_TITLE = 57344;
inline constexpr int IDS_IDLE_MESSAGE = 57345;
inline constexpr int IDS_INDICATOR_CAPS = 59137;
inline constexpr int IDS_INDICATOR_NUM = 59138;
inline constexpr int IDS_INDICATOR_SCRL = 59139;
inline constexpr int IDS_REGISTRY_KEY = 61204;
inline constexpr int IDS_NO_RESULTS = 61205;

// The program's own texts that have no number of their own in the resource script; they live in
// the same table so that no backend or class carries a user-visible literal.
inline constexpr int IDS_FIRST_PRIVATE = 2000;
inline constexpr int IDS_MSG_NO_VIEWER_COMMAND_KEY = 2000;
inline constexpr int IDS_MSG_SETTINGS_EMPTY = 2001;
inline constexpr int IDS_MSG_NO_VIEWER_LINE = 2002;
inline constexpr int IDS_MSG_SETTINGS_NOT_FOUND = 2003;
inline constexpr int IDS_FILE_ERROR_NOT_FOUND = 2010;
inline constexpr int IDS_FILE_ERROR_ACCESS_DENIED = 2011;
inline constexpr int IDS_FILE_ERROR_NOT_A_FILE = 2012;
inline constexpr int IDS_FILE_ERROR_BAD_PATH = 2013;
inline constexpr int IDS_FILE_ERROR_GENERIC = 2014;
inline constexpr int IDS_FILE_UNNAMED = 2015;
inline constexpr int IDS_MSG_INSTALL_FAILED = 2020;
inline constexpr int IDS_MSG_CANNOT_LAUNCH_VIEWER = 2021;
inline constexpr int IDS_MSG_VIEWER_COMMAND_INVALID = 2022;
inline constexpr int IDS_VIEW_IMAGES = 2030;
inline constexpr int IDS_VIEW_RESULTS = 2031;
inline constexpr int IDS_START_PAGE = 2032;
inline constexpr int IDS_UNTITLED = 2033;
inline constexpr int IDS_BROWSER_CHECK_CAPTION = 2040;
inline constexpr int IDS_BROWSER_CHECK_TEXT = 2041;
inline constexpr int IDS_BROWSER_CHECK_INSTALL = 2042;
inline constexpr int IDS_CANCEL = 2043;
inline constexpr int IDS_OK = 2044;
inline constexpr int IDS_ABOUT_CAPTION = 2045;
inline constexpr int IDS_ABOUT_VERSION = 2046;
inline constexpr int IDS_ABOUT_NOTICE = 2047;
inline constexpr int IDS_LAUNCHING_CAPTION = 2048;
inline constexpr int IDS_LAUNCHING_TEXT = 2049;
inline constexpr int IDS_MSG_NO_CUSTOM_HELP = 2050;
inline constexpr int IDS_OPEN_DIALOG_TITLE = 2051;
inline constexpr int IDS_OPEN_DIALOG_ACCEPT = 2052;
inline constexpr int IDS_NO_START_PAGE = 2053;

// Commands.
inline constexpr int ID_VIEW_STOP = 32778;
inline constexpr int ID_VIEW_REFRESH = 32779;
inline constexpr int ID_FONT_LARGEST = 32782;
inline constexpr int ID_FONT_LARGE = 32783;
inline constexpr int ID_FONT_MEDIUM = 32784;
inline constexpr int ID_FONT_SMALL = 32785;
inline constexpr int ID_FONT_SMALLEST = 32786;
inline constexpr int ID_GO_BACK = 32787;
inline constexpr int ID_GO_FORWARD = 32788;
inline constexpr int ID_GO_HOME = 32789;
inline constexpr int ID_GO_SEARCH = 32790;
inline constexpr int ID_FAVORITES_DROPDOWN = 32792;
inline constexpr int ID_FONT_DROPDOWN = 32793;
inline constexpr int ID_HELP_WEB_TUTORIAL = 32798;
inline constexpr int ID_HELP_LINK_FIRST = 32800;  // 32800 to 32807 and 32812: help web addresses
inline constexpr int ID_HELP_LINK_LAST = 32807;
inline constexpr int ID_HELP_LINK_EXTRA = 32812;
inline constexpr int ID_VIEW_IMAGES = 32819;
inline constexpr int ID_VIEW_RESULTS = 32820;
inline constexpr int ID_HELP_CUSTOM = 32821;
inline constexpr int ID_VIEW_START_PAGE = 32822;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;

// Show-window commands used by the launch settings.
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_RESTORE = 9;

}  // namespace orvane::res
