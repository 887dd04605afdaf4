// Menus, the accelerator table, the toolbar and the status bar panes.
#include <array>

#include "res/Resources.h"

namespace orvane::res {
namespace {

using K = MenuItem::Kind;

constexpr MenuItem Command(std::string_view text, int id) {
    return {K::Command, text, id, {}};
}
constexpr MenuItem Separator() {
    return {K::Separator, {}, 0, {}};
}
constexpr MenuItem Popup(std::string_view text, std::span<const MenuItem> items) {
    return {K::Popup, text, 0, items};
}

constexpr std::array kFileItems{Command("&Open", ID_FILE_OPEN), Command("E&xit", ID_APP_EXIT)};

constexpr std::array kFontItems{
    Command("Largest", ID_FONT_LARGEST),   Command("Large", ID_FONT_LARGE),
    Command("Medium", ID_FONT_MEDIUM),     Command("Small", ID_FONT_SMALL),
    Command("Smallest", ID_FONT_SMALLEST),
};

constexpr std::array kViewItems{
    Command("&Images", ID_VIEW_IMAGES),
    Command("&Results", ID_VIEW_RESULTS),
    Command("&Start Page", ID_VIEW_START_PAGE),
    Separator(),
    Popup("Fo&nts", kFontItems),
    Command("R&efresh\tF5", ID_VIEW_REFRESH),
};

constexpr std::array kHelpItems{Command("Custom &Help", ID_HELP_CUSTOM),
                                Command("&About", ID_APP_ABOUT)};

constexpr std::array kMainMenu{Popup("&File", kFileItems), Popup("&View", kViewItems),
                               Popup("&Help", kHelpItems)};

constexpr std::array kFontDropDownItems{
    Command("Lar&gest", ID_FONT_LARGEST),   Command("&Larger", ID_FONT_LARGE),
    Command("&Medium", ID_FONT_MEDIUM),     Command("&Smaller", ID_FONT_SMALL),
    Command("Sm&allest", ID_FONT_SMALLEST),
};
// Only the popup's items are shown.
constexpr std::array kFontDropDown{Popup("Font", kFontDropDownItems)};

constexpr std::array kMenus{Menu{IDR_MAINFRAME, kMainMenu}, Menu{IDR_FONT_DROPDOWN, kFontDropDown}};

constexpr std::array kMainAccelerators{Accelerator{Key::F5, ID_VIEW_REFRESH}};

constexpr std::array kToolbar{
    ToolbarButton{ID_VIEW_IMAGES, 5, IDS_VIEW_IMAGES, false},
    ToolbarButton{ID_VIEW_RESULTS, 9, IDS_VIEW_RESULTS, false},
    ToolbarButton{ID_VIEW_START_PAGE, 4, IDS_START_PAGE, false},
    ToolbarButton{ID_VIEW_REFRESH, 3, IDS_REFRESH, false},
    ToolbarButton{ID_FONT_DROPDOWN, 8, IDS_FONT, true},
};

constexpr std::array kIndicators{IDS_INDICATOR_CAPS, IDS_INDICATOR_NUM, IDS_INDICATOR_SCRL};

}  // namespace

const Menu* FindMenu(int id) {
    for (const auto& menu : kMenus) {
        if (menu.id == id)
            return &menu;
    }
    return nullptr;
}

std::span<const Accelerator> FindAccelerators(int id) {
    if (id == IDR_MAINFRAME)
        return kMainAccelerators;
    return {};
}

std::span<const ToolbarButton> MainToolbar() {
    return kToolbar;
}

std::span<const int> StatusIndicators() {
    return kIndicators;
}

}  // namespace orvane::res
