// The program's resource tables: strings and dialog templates. Every backend renders these; no
// class or backend holds a user-visible text of its own.
#pragma once

#include <span>
#include <string_view>

#include "res/resource.h"

namespace orvane::res {

// The text of string `id`, or an empty text when the table has no such entry.
std::string_view LoadString(int id);

// The status-bar prompt of a command: the text before the first line feed of its string.
std::string_view CommandPrompt(int commandId);
// The tooltip of a command: the text after the first line feed of its string, or empty.
std::string_view CommandTooltip(int commandId);

// One control of a dialog template. Positions and sizes are in dialog units.
struct DialogItem {
    enum class Kind { Icon, Text, DefaultButton, Button };
    Kind kind;
    int id;      // control id; buttons end the dialog with it
    int textId;  // string id of the text, or the icon id for Kind::Icon
    int x, y, width, height;
    bool noPrefix = false;  // "&" is shown as it stands
};

struct DialogTemplate {
    int id;
    int captionId;
    int width, height;  // dialog units
    bool systemMenu;    // a close box; without it only the dialog itself can end
    std::span<const DialogItem> items;
};

// The template of dialog `id`, or nullptr.
const DialogTemplate* FindDialog(int id);

// A menu item: a command, a separator or a popup holding items of its own. "&" marks the
// mnemonic; a tab separates the item's text from its key's name.
struct MenuItem {
    enum class Kind { Command, Separator, Popup };
    Kind kind;
    std::string_view text;
    int commandId;
    std::span<const MenuItem> items;  // Kind::Popup only
};

struct Menu {
    int id;
    std::span<const MenuItem> items;  // the menu bar's popups, or a popup menu's holder
};

// The menu resource `id`, or nullptr.
const Menu* FindMenu(int id);

// Keys of accelerator tables.
enum class Key { F5 };

struct Accelerator {
    Key key;  // pressed without modifiers
    int commandId;
};

// Accelerator table `id`; empty when there is none.
std::span<const Accelerator> FindAccelerators(int id);

// A button of the main toolbar.
struct ToolbarButton {
    int commandId;
    int image;      // index into the toolbar image strips
    int captionId;  // string shown under the image
    bool dropDown;  // has a separate arrow
};

std::span<const ToolbarButton> MainToolbar();

// The toolbar image strips: images of kToolbarImageWidth x kToolbarImageHeight side by side on
// magenta, which stands for transparency.
inline constexpr int kToolbarImageWidth = 22;
inline constexpr int kToolbarImageHeight = 20;
inline constexpr int kToolbarImageCount = 15;
// Buttons are laid out for images this wide.
inline constexpr int kToolbarButtonImageWidth = 30;
inline constexpr int kToolbarMinButtonWidth = 50;
inline constexpr int kToolbarMaxButtonWidth = 150;

// The status bar's panes after the message pane: string ids of the indicators.
std::span<const int> StatusIndicators();

// The font every dialog is laid out in, and its size in points.
inline constexpr std::string_view kDialogFontName = "MS Sans Serif";
inline constexpr int kDialogFontPoints = 8;

}  // namespace orvane::res
