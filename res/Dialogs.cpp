// Dialog templates, in dialog units.
#include <array>

#include "res/Resources.h"

namespace orvane::res {
namespace {

using K = DialogItem::Kind;

constexpr std::array kAboutItems{
    DialogItem{K::Icon, -1, IDI_MAINFRAME, 11, 19, 20, 20},
    DialogItem{K::Text, -1, IDS_ABOUT_VERSION, 40, 10, 119, 8, true},
    DialogItem{K::Text, -1, IDS_ABOUT_NOTICE, 40, 26, 159, 8},
    DialogItem{K::DefaultButton, IDOK, IDS_OK, 178, 7, 32, 14},
};

constexpr std::array kLaunchingItems{
    DialogItem{K::Text, IDC_LAUNCHING_TEXT, IDS_LAUNCHING_TEXT, 19, 18, 117, 8},
};

constexpr std::array kBrowserCheckItems{
    DialogItem{K::Text, -1, IDS_BROWSER_CHECK_TEXT, 13, 14, 160, 25},
    DialogItem{K::DefaultButton, IDOK, IDS_BROWSER_CHECK_INSTALL, 16, 59, 73, 14},
    DialogItem{K::Button, IDCANCEL, IDS_CANCEL, 117, 59, 50, 14},
};

constexpr std::array kDialogs{
    DialogTemplate{IDD_ABOUTBOX, IDS_ABOUT_CAPTION, 217, 57, true, kAboutItems},
    DialogTemplate{IDD_LAUNCHING, IDS_LAUNCHING_CAPTION, 156, 55, false, kLaunchingItems},
    DialogTemplate{IDD_BROWSER_CHECK, IDS_BROWSER_CHECK_CAPTION, 187, 91, true, kBrowserCheckItems},
};

}  // namespace

const DialogTemplate* FindDialog(int id) {
    for (const auto& d : kDialogs) {
        if (d.id == id)
            return &d;
    }
    return nullptr;
}

}  // namespace orvane::res
