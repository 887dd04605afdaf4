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
    int id;            // control id; buttons end the dialog with it
    int textId;        // string id of the text, or the icon id for Kind::Icon
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

// The font every dialog is laid out in, and its size in points.
inline constexpr std::string_view kDialogFontName = "MS Sans Serif";
inline constexpr int kDialogFontPoints = 8;

}  // namespace orvane::res
