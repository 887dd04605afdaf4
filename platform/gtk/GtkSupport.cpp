#include "platform/gtk/GtkSupport.h"

#include <string>

namespace orvane::platform::gtk {

namespace {
constexpr char kResourcePrefix[] = "/org/orvane/start/";
}

GdkPixbuf* LoadImage(const char* name) {
    std::string path = std::string(kResourcePrefix) + name;
    return gdk_pixbuf_new_from_resource(path.c_str(), nullptr);
}

GList* ProgramIcons() {
    GList* icons = nullptr;
    for (const char* name : {"icon-256.png", "icon-48.png", "icon-32.png"}) {
        if (GdkPixbuf* icon = LoadImage(name))
            icons = g_list_append(icons, icon);
    }
    return icons;
}

std::string Mnemonic(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '&') {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            } else {
                out += '_';
            }
        } else if (c == '_') {
            out += "__";
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace orvane::platform::gtk
