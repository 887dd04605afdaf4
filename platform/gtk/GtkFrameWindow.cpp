#include "platform/gtk/GtkFrameWindow.h"

#include <algorithm>
#include <string>
#include <utility>

namespace orvane::platform::gtk {
namespace {

// A size a person would pick for reading pages: about two thirds of the screen's work area.
void SetReadingSize(GtkWindow* window) {
    int width = 1024, height = 720;
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display)
        monitor = gdk_display_get_monitor(display, 0);
    if (monitor) {
        GdkRectangle area;
        gdk_monitor_get_workarea(monitor, &area);
        width = std::max(640, area.width * 2 / 3);
        height = std::max(480, area.height * 2 / 3);
    }
    gtk_window_set_default_size(window, width, height);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
}

// A strip of images on magenta with magenta made transparent.
GdkPixbuf* LoadStrip(const char* name) {
    ObjectRef<GdkPixbuf> strip(LoadImage(name));
    if (!strip)
        return nullptr;
    return gdk_pixbuf_add_alpha(strip.get(), TRUE, 255, 0, 255);
}

// Image `index` of a strip, centred in the width buttons lay their images out in.
GdkPixbuf* CutImage(GdkPixbuf* strip, int index) {
    using namespace res;
    if (!strip || gdk_pixbuf_get_width(strip) < (index + 1) * kToolbarImageWidth)
        return nullptr;
    GdkPixbuf* image =
        gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, kToolbarButtonImageWidth, kToolbarImageHeight);
    gdk_pixbuf_fill(image, 0);
    gdk_pixbuf_copy_area(strip, index * kToolbarImageWidth, 0, kToolbarImageWidth,
                         kToolbarImageHeight, image,
                         (kToolbarButtonImageWidth - kToolbarImageWidth) / 2, 0);
    return image;
}

// Splits "R&efresh\tF5" into its text and its key's name.
std::pair<std::string, std::string> SplitMenuText(std::string_view text) {
    auto tab = text.find('\t');
    if (tab == std::string_view::npos)
        return {std::string(text), {}};
    return {std::string(text.substr(0, tab)), std::string(text.substr(tab + 1))};
}

guint KeyOf(res::Key key) {
    switch (key) {
        case res::Key::F5:
            return GDK_KEY_F5;
    }
    return 0;
}

struct AcceleratorData {
    GtkFrameWindow* frame;
    int commandId;
};

}  // namespace

GtkFrameWindow::GtkFrameWindow(const FrameDescription& description, FrameEvents& frameEvents,
                               BrowserEvents& browserEvents, bool sandboxPages)
    : events_(frameEvents),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      engine_(std::make_unique<WebKitEngine>(browserEvents, sandboxPages)) {
    GtkWindow* w = GTK_WINDOW(window_);
    gtk_window_set_title(w, description.caption.c_str());
    GList* icons = ProgramIcons();
    gtk_window_set_icon_list(w, icons);
    g_list_free_full(icons, g_object_unref);
    SetReadingSize(w);

    GtkWidget* layout = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    if (const res::Menu* menu = res::FindMenu(description.resourceId)) {
        gtk_box_pack_start(GTK_BOX(layout), BuildMenuBar(*menu), FALSE, FALSE, 0);
    }
    BuildAccelerators(description.resourceId);
    if (description.showBars) {
        gtk_box_pack_start(GTK_BOX(layout), BuildToolbar(), FALSE, FALSE, 0);
        gtk_box_pack_start(GTK_BOX(layout), gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), FALSE,
                           FALSE, 0);
    }
    gtk_box_pack_start(GTK_BOX(layout), engine_->widget(), TRUE, TRUE, 0);
    if (description.showBars) {
        gtk_box_pack_start(GTK_BOX(layout), BuildStatusBar(), FALSE, FALSE, 0);
    }
    gtk_container_add(GTK_CONTAINER(window_), layout);
    gtk_widget_show_all(layout);
    gtk_widget_grab_focus(engine_->widget());

    signals_.Connect(window_, "delete-event", &GtkFrameWindow::OnDelete, this);
    signals_.Connect(window_, "focus-in-event", &GtkFrameWindow::OnFocusIn, this);
    signals_.Connect(window_, "focus-out-event", &GtkFrameWindow::OnFocusOut, this);
    if (!indicators_.empty()) {
        GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
        signals_.Connect(keymap, "state-changed", &GtkFrameWindow::OnKeymapChanged, this);
        UpdateIndicators();
    }
}

GtkFrameWindow::~GtkFrameWindow() {
    signals_.DisconnectAll();
    if (popup_)
        gtk_widget_destroy(popup_);
    if (accelerators_)
        gtk_window_remove_accel_group(GTK_WINDOW(window_), accelerators_.get());
    gtk_widget_destroy(window_);  // the web view goes with it; the engine drops its own reference
    engine_.reset();
}

GtkFrameWindow::CommandWidget* GtkFrameWindow::Track(CommandWidgets& store, int commandId,
                                                     GtkWidget* widget) {
    store.push_back(std::make_unique<CommandWidget>(CommandWidget{this, commandId, widget}));
    return store.back().get();
}

void GtkFrameWindow::Command(int commandId) {
    Guarded([&] { events_.OnCommand(commandId); });
    UpdateCommandStates();
}

// --- menus

GtkWidget* GtkFrameWindow::BuildMenu(std::span<const res::MenuItem> items, CommandWidgets& store) {
    GtkWidget* menu = gtk_menu_new();
    if (accelerators_)
        gtk_menu_set_accel_group(GTK_MENU(menu), accelerators_.get());
    for (const auto& item : items) {
        GtkWidget* widget = nullptr;
        switch (item.kind) {
            case res::MenuItem::Kind::Separator:
                widget = gtk_separator_menu_item_new();
                break;
            case res::MenuItem::Kind::Popup:
                widget = gtk_menu_item_new_with_mnemonic(Mnemonic(item.text).c_str());
                gtk_menu_item_set_submenu(GTK_MENU_ITEM(widget), BuildMenu(item.items, store));
                break;
            case res::MenuItem::Kind::Command: {
                auto [text, keyName] = SplitMenuText(item.text);
                widget = gtk_menu_item_new_with_mnemonic(Mnemonic(text).c_str());
                if (!keyName.empty()) {
                    guint key = 0;
                    GdkModifierType mods{};
                    gtk_accelerator_parse(keyName.c_str(), &key, &mods);
                    if (key) {
                        gtk_accel_label_set_accel(
                            GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(widget))), key, mods);
                    }
                }
                CommandWidget* cw = Track(store, item.commandId, widget);
                signals_.Connect(widget, "activate", &GtkFrameWindow::OnMenuItemActivate, cw);
                signals_.Connect(widget, "select", &GtkFrameWindow::OnMenuItemSelect, cw);
                signals_.Connect(widget, "deselect", &GtkFrameWindow::OnMenuItemDeselect, cw);
                break;
            }
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(menu), widget);
    }
    signals_.Connect(menu, "show", &GtkFrameWindow::OnMenuShow, this);
    return menu;
}

GtkWidget* GtkFrameWindow::BuildMenuBar(const res::Menu& menu) {
    GtkWidget* bar = gtk_menu_bar_new();
    for (const auto& popup : menu.items) {
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(Mnemonic(popup.text).c_str());
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), BuildMenu(popup.items, commands_));
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
    }
    return bar;
}

void GtkFrameWindow::BuildAccelerators(int resourceId) {
    auto table = res::FindAccelerators(resourceId);
    if (table.empty())
        return;
    accelerators_.reset(gtk_accel_group_new());
    for (const auto& accel : table) {
        auto* data = new AcceleratorData{this, accel.commandId};
        GClosure* closure =
            g_cclosure_new(G_CALLBACK(&GtkFrameWindow::OnAccelerator), data,
                           [](gpointer p, GClosure*) { delete static_cast<AcceleratorData*>(p); });
        gtk_accel_group_connect(accelerators_.get(), KeyOf(accel.key), GdkModifierType(0),
                                GTK_ACCEL_VISIBLE, closure);
    }
    gtk_window_add_accel_group(GTK_WINDOW(window_), accelerators_.get());
}

void GtkFrameWindow::TrackPopupMenu(int menuId, Point topLeft) {
    const res::Menu* menu = res::FindMenu(menuId);
    if (!menu || menu->items.empty())
        return;
    // The last popup stays until the next one replaces it: its chosen item is activated only
    // after it has closed.
    if (popup_)
        gtk_widget_destroy(popup_);
    popupCommands_.clear();
    popup_ = BuildMenu(menu->items.front().items, popupCommands_);
    gtk_menu_attach_to_widget(GTK_MENU(popup_), window_, nullptr);
    gtk_widget_show_all(popup_);
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    int originX = 0, originY = 0;
    gdk_window_get_origin(gdkWindow, &originX, &originY);
    GdkRectangle at{topLeft.x - originX, topLeft.y - originY, 1, 1};
    gtk_menu_popup_at_rect(GTK_MENU(popup_), gdkWindow, &at, GDK_GRAVITY_NORTH_WEST,
                           GDK_GRAVITY_NORTH_WEST, nullptr);
}

// --- toolbar

GtkWidget* GtkFrameWindow::BuildToolbar() {
    GtkWidget* band = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 2);
    gtk_widget_set_name(band, "orvane-toolbar");
    gtk_container_set_border_width(GTK_CONTAINER(band), 2);
    GtkWidget* gripper = gtk_drawing_area_new();
    gtk_widget_set_size_request(gripper, 8, -1);
    signals_.Connect(gripper, "draw", &GtkFrameWindow::OnDrawGripper, this);
    gtk_box_pack_start(GTK_BOX(band), gripper, FALSE, FALSE, 0);

    ObjectRef<GdkPixbuf> cold(LoadStrip("toolbar-cold.png"));
    ObjectRef<GdkPixbuf> hot(LoadStrip("toolbar-hot.png"));
    for (const auto& button : res::MainToolbar()) {
        gtk_box_pack_start(GTK_BOX(band), BuildToolButton(button, cold.get(), hot.get()), FALSE,
                           FALSE, 0);
    }
    return band;
}

GtkWidget* GtkFrameWindow::BuildToolButton(const res::ToolbarButton& button, GdkPixbuf* coldStrip,
                                           GdkPixbuf* hotStrip) {
    GtkWidget* face = gtk_button_new();
    gtk_button_set_relief(GTK_BUTTON(face), GTK_RELIEF_NONE);
    gtk_widget_set_focus_on_click(face, FALSE);
    gtk_widget_set_can_focus(face, FALSE);
    GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 1);
    CommandWidget* cw = Track(commands_, button.commandId, face);
    images_.emplace_back(CutImage(coldStrip, button.image));
    cw->cold = images_.back().get();
    images_.emplace_back(CutImage(hotStrip, button.image));
    cw->hot = images_.back().get();
    cw->image = cw->cold ? gtk_image_new_from_pixbuf(cw->cold) : gtk_image_new();
    gtk_widget_set_size_request(cw->image, res::kToolbarButtonImageWidth, res::kToolbarImageHeight);
    GtkWidget* caption = gtk_label_new(std::string(res::LoadString(button.captionId)).c_str());
    gtk_box_pack_start(GTK_BOX(column), cw->image, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(column), caption, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(face), column);
    gtk_widget_set_size_request(face, res::kToolbarMinButtonWidth, -1);
    gtk_label_set_max_width_chars(GTK_LABEL(caption), 20);
    gtk_label_set_ellipsize(GTK_LABEL(caption), PANGO_ELLIPSIZE_END);
    if (std::string tip = events_.CommandTooltip(button.commandId); !tip.empty()) {
        gtk_widget_set_tooltip_text(face, tip.c_str());
    }
    signals_.Connect(face, "clicked", &GtkFrameWindow::OnButtonClicked, cw);
    signals_.Connect(face, "enter-notify-event", &GtkFrameWindow::OnButtonEnter, cw);
    signals_.Connect(face, "leave-notify-event", &GtkFrameWindow::OnButtonLeave, cw);
    if (!button.dropDown)
        return face;

    // The arrow beside the face is a button of its own: only it opens the dropdown.
    GtkWidget* pair = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    GtkWidget* arrow = gtk_button_new_from_icon_name("pan-down-symbolic", GTK_ICON_SIZE_MENU);
    gtk_button_set_relief(GTK_BUTTON(arrow), GTK_RELIEF_NONE);
    gtk_widget_set_can_focus(arrow, FALSE);
    if (std::string tip = events_.CommandTooltip(button.commandId); !tip.empty()) {
        gtk_widget_set_tooltip_text(arrow, tip.c_str());
    }
    signals_.Connect(arrow, "clicked", &GtkFrameWindow::OnDropDown, cw);
    signals_.Connect(arrow, "enter-notify-event", &GtkFrameWindow::OnButtonEnter, cw);
    signals_.Connect(arrow, "leave-notify-event", &GtkFrameWindow::OnButtonLeave, cw);
    gtk_box_pack_start(GTK_BOX(pair), face, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(pair), arrow, FALSE, FALSE, 0);
    return pair;
}

// --- status bar

GtkWidget* GtkFrameWindow::BuildStatusBar() {
    GtkWidget* bar = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_container_set_border_width(GTK_CONTAINER(bar), 2);
    prompt_ = gtk_label_new(std::string(res::LoadString(res::IDS_IDLE_MESSAGE)).c_str());
    gtk_label_set_xalign(GTK_LABEL(prompt_), 0);
    gtk_label_set_ellipsize(GTK_LABEL(prompt_), PANGO_ELLIPSIZE_END);
    gtk_label_set_single_line_mode(GTK_LABEL(prompt_), TRUE);
    gtk_widget_set_margin_start(prompt_, 4);
    gtk_box_pack_start(GTK_BOX(bar), prompt_, TRUE, TRUE, 0);
    for (int id : res::StatusIndicators()) {
        GtkWidget* frame = gtk_frame_new(nullptr);
        gtk_frame_set_shadow_type(GTK_FRAME(frame), GTK_SHADOW_IN);
        GtkWidget* label = gtk_label_new(std::string(res::LoadString(id)).c_str());
        gtk_label_set_width_chars(GTK_LABEL(label), 5);
        g_object_set_data(G_OBJECT(label), "orvane-text-id", GINT_TO_POINTER(id));
        gtk_container_add(GTK_CONTAINER(frame), label);
        gtk_box_pack_start(GTK_BOX(bar), frame, FALSE, FALSE, 0);
        indicators_.push_back(label);
    }
    return bar;
}

void GtkFrameWindow::UpdateIndicators() {
    GdkKeymap* keymap = gdk_keymap_get_for_display(gdk_display_get_default());
    const bool on[] = {gdk_keymap_get_caps_lock_state(keymap) != FALSE,
                       gdk_keymap_get_num_lock_state(keymap) != FALSE,
                       gdk_keymap_get_scroll_lock_state(keymap) != FALSE};
    for (std::size_t i = 0; i < indicators_.size() && i < std::size(on); ++i) {
        int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(indicators_[i]), "orvane-text-id"));
        // An indicator shows its name while its key is on, and keeps its place while off.
        gtk_label_set_text(GTK_LABEL(indicators_[i]),
                           on[i] ? std::string(res::LoadString(id)).c_str() : "");
    }
}

// --- FrameWindow

void GtkFrameWindow::SetCaption(std::string_view caption) {
    gtk_window_set_title(GTK_WINDOW(window_), std::string(caption).c_str());
}

void GtkFrameWindow::SetMessageText(std::string_view text) {
    if (!prompt_)
        return;
    std::string shown =
        text.empty() ? std::string(res::LoadString(res::IDS_IDLE_MESSAGE)) : std::string(text);
    gtk_label_set_text(GTK_LABEL(prompt_), shown.c_str());
}

void GtkFrameWindow::ShowWindow(int showCommand) {
    GtkWindow* w = GTK_WINDOW(window_);
    switch (showCommand) {
        case 3:
            gtk_window_maximize(w);
            break;
        case 2:
        case 7:
            gtk_window_iconify(w);
            break;
        case 4:
            gtk_window_set_focus_on_map(w, FALSE);
            break;
        default:
            break;
    }
    gtk_widget_show(window_);
    if (showCommand != 2 && showCommand != 4 && showCommand != 7)
        gtk_window_present(w);
    UpdateCommandStates();
}

void GtkFrameWindow::UpdateWindow() {
    gtk_widget_queue_draw(window_);
}

void GtkFrameWindow::UpdateCommandStates() {
    for (const auto& cw : commands_) {
        // Menu items are brought up to date when their menu opens.
        if (GTK_IS_MENU_ITEM(cw->widget))
            continue;
        bool enabled = true;
        Guarded([&] { enabled = events_.IsCommandEnabled(cw->commandId); });
        gtk_widget_set_sensitive(cw->widget, enabled);
    }
}

void GtkFrameWindow::Close() {
    gtk_widget_hide(window_);
    if (gtk_main_level() > 0)
        gtk_main_quit();
}

// --- signal handlers

void GtkFrameWindow::OnMenuItemActivate(GtkMenuItem*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    cw->owner->Command(cw->commandId);
}

void GtkFrameWindow::OnMenuItemSelect(GtkMenuItem*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    std::string prompt;
    Guarded([&] { prompt = cw->owner->events_.CommandPrompt(cw->commandId); });
    // The prompt pane shows the item's prompt, which may be empty.
    if (cw->owner->prompt_)
        gtk_label_set_text(GTK_LABEL(cw->owner->prompt_), prompt.c_str());
}

void GtkFrameWindow::OnMenuItemDeselect(GtkMenuItem*, gpointer p) {
    static_cast<CommandWidget*>(p)->owner->SetMessageText({});
}

void GtkFrameWindow::UpdateMenuItems(const CommandWidgets& store, GtkWidget* menu) {
    for (const auto& cw : store) {
        if (!GTK_IS_MENU_ITEM(cw->widget) || gtk_widget_get_parent(cw->widget) != menu)
            continue;
        bool enabled = true;
        Guarded([&] { enabled = events_.IsCommandEnabled(cw->commandId); });
        gtk_widget_set_sensitive(cw->widget, enabled);
    }
}

void GtkFrameWindow::OnMenuShow(GtkWidget* menu, gpointer p) {
    auto* self = static_cast<GtkFrameWindow*>(p);
    self->UpdateMenuItems(self->commands_, menu);
    self->UpdateMenuItems(self->popupCommands_, menu);
}

void GtkFrameWindow::OnButtonClicked(GtkButton*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    cw->owner->Command(cw->commandId);
}

gboolean GtkFrameWindow::OnButtonEnter(GtkWidget*, GdkEventCrossing*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    GtkFrameWindow* self = cw->owner;
    self->UpdateCommandStates();
    if (cw->hot && gtk_widget_get_sensitive(cw->widget)) {
        gtk_image_set_from_pixbuf(GTK_IMAGE(cw->image), cw->hot);
    }
    std::string prompt;
    Guarded([&] { prompt = self->events_.CommandPrompt(cw->commandId); });
    if (self->prompt_)
        gtk_label_set_text(GTK_LABEL(self->prompt_), prompt.c_str());
    return FALSE;
}

gboolean GtkFrameWindow::OnButtonLeave(GtkWidget*, GdkEventCrossing*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    if (cw->cold)
        gtk_image_set_from_pixbuf(GTK_IMAGE(cw->image), cw->cold);
    cw->owner->SetMessageText({});
    return FALSE;
}

void GtkFrameWindow::OnDropDown(GtkButton*, gpointer p) {
    auto* cw = static_cast<CommandWidget*>(p);
    GtkFrameWindow* self = cw->owner;
    GtkAllocation face;
    gtk_widget_get_allocation(cw->widget, &face);
    int x = 0, y = 0;
    gtk_widget_translate_coordinates(cw->widget, self->window_, 0, face.height, &x, &y);
    int originX = 0, originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(self->window_), &originX, &originY);
    Guarded([&] { self->events_.OnToolbarDropDown(cw->commandId, {originX + x, originY + y}); });
}

gboolean GtkFrameWindow::OnAccelerator(GtkAccelGroup*, GObject*, guint, GdkModifierType,
                                       gpointer p) {
    auto* data = static_cast<AcceleratorData*>(p);
    data->frame->Command(data->commandId);
    return TRUE;
}

gboolean GtkFrameWindow::OnDelete(GtkWidget*, GdkEvent*, gpointer p) {
    static_cast<GtkFrameWindow*>(p)->Close();
    return TRUE;  // the window is destroyed by its owner
}

gboolean GtkFrameWindow::OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer p) {
    auto* self = static_cast<GtkFrameWindow*>(p);
    if (std::exchange(self->focusLeft_, false))
        self->UpdateCommandStates();
    return FALSE;
}

gboolean GtkFrameWindow::OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer p) {
    static_cast<GtkFrameWindow*>(p)->focusLeft_ = true;
    return FALSE;
}

void GtkFrameWindow::OnKeymapChanged(GdkKeymap*, gpointer p) {
    static_cast<GtkFrameWindow*>(p)->UpdateIndicators();
}

gboolean GtkFrameWindow::OnDrawGripper(GtkWidget* widget, cairo_t* cr, gpointer) {
    // Two columns of small dots, the band's grip.
    GtkStyleContext* style = gtk_widget_get_style_context(widget);
    GdkRGBA color;
    gtk_style_context_get_color(style, gtk_widget_get_state_flags(widget), &color);
    color.alpha *= 0.45;
    gdk_cairo_set_source_rgba(cr, &color);
    const int height = gtk_widget_get_allocated_height(widget);
    for (int y = 4; y + 2 <= height - 4; y += 4) {
        cairo_rectangle(cr, 2, y, 2, 2);
        cairo_rectangle(cr, 5, y + 2, 2, 2);
    }
    cairo_fill(cr);
    return FALSE;
}

}  // namespace orvane::platform::gtk
