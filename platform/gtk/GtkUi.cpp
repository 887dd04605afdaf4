#include "platform/gtk/GtkUi.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileFilters.h"
#include "platform/gtk/GtkSupport.h"

namespace orvane::platform::gtk {
namespace {

// A top-level window run modally: it ends with a result id, from a button, a key, the close
// box (when it has one) or its owner's code.
class ModalWindow final : public DialogControl {
  public:
    ModalWindow(GtkWindow* owner, std::string_view caption, bool closeBox, int enterResult)
        : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
          closeBox_(closeBox),
          enterResult_(enterResult) {
        GtkWindow* w = GTK_WINDOW(window_);
        gtk_window_set_title(w, std::string(caption).c_str());
        gtk_window_set_type_hint(w, GDK_WINDOW_TYPE_HINT_DIALOG);
        gtk_window_set_modal(w, TRUE);
        gtk_window_set_resizable(w, FALSE);
        gtk_window_set_deletable(w, closeBox);
        gtk_window_set_skip_taskbar_hint(w, owner != nullptr);
        if (owner) {
            gtk_window_set_transient_for(w, owner);
            gtk_window_set_position(w, GTK_WIN_POS_CENTER_ON_PARENT);
        } else {
            gtk_window_set_position(w, GTK_WIN_POS_CENTER);
        }
        GList* icons = ProgramIcons();
        gtk_window_set_icon_list(w, icons);
        g_list_free_full(icons, g_object_unref);
        signals_.Connect(window_, "delete-event", &ModalWindow::OnDelete, this);
        signals_.Connect(window_, "key-press-event", &ModalWindow::OnKey, this);
    }
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;
    ~ModalWindow() override {
        StopTimers();
        signals_.DisconnectAll();
        gtk_widget_destroy(window_);
    }

    GtkWidget* widget() const { return window_; }

    // A button that ends the window with `id`.
    GtkWidget* AddButton(std::string_view text, int id, bool isDefault) {
        GtkWidget* button = gtk_button_new_with_mnemonic(Mnemonic(text).c_str());
        g_object_set_data(G_OBJECT(button), "orvane-result", GINT_TO_POINTER(id));
        signals_.Connect(button, "clicked", &ModalWindow::OnButton, this);
        if (isDefault) {
            gtk_widget_set_can_default(button, TRUE);
            defaultButton_ = button;
        }
        return button;
    }

    int Run() {
        gtk_widget_show_all(window_);
        if (defaultButton_) {
            gtk_widget_grab_default(defaultButton_);
            gtk_widget_grab_focus(defaultButton_);
        }
        loop_.Run();
        StopTimers();
        gtk_widget_hide(window_);
        // The area the window covered may stay unpainted in the owner otherwise.
        if (GtkWindow* owner = gtk_window_get_transient_for(GTK_WINDOW(window_))) {
            gtk_widget_queue_draw(GTK_WIDGET(owner));
        }
        return result_;
    }

    // DialogControl
    void SetTimer(int timerId, unsigned milliseconds) override {
        KillTimer(timerId);
        auto* data = new TimerData{this, timerId};
        timers_[timerId] =
            g_timeout_add_full(G_PRIORITY_DEFAULT, milliseconds, &OnTimer, data,
                               [](gpointer p) { delete static_cast<TimerData*>(p); });
    }
    void EndDialog(int result) override {
        result_ = result;
        loop_.Quit();
    }

    DialogEvents* events = nullptr;

  private:
    struct TimerData {
        ModalWindow* owner;
        int id;
    };

    void KillTimer(int timerId) {
        if (auto it = timers_.find(timerId); it != timers_.end()) {
            g_source_remove(it->second);
            timers_.erase(it);
        }
    }
    void StopTimers() {
        for (auto& [id, source] : timers_)
            g_source_remove(source);
        timers_.clear();
    }

    static gboolean OnTimer(gpointer p) {
        auto* data = static_cast<TimerData*>(p);
        ModalWindow* self = data->owner;
        Guarded([&] {
            if (self->events)
                self->events->OnTimer(*self, data->id);
        });
        return G_SOURCE_CONTINUE;  // a timer repeats until it is killed, like its model
    }
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer p) {
        auto* self = static_cast<ModalWindow*>(p);
        if (self->closeBox_)
            self->EndDialog(res::IDCANCEL);
        return TRUE;  // the window is destroyed by its owner, not here
    }
    static gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer p) {
        auto* self = static_cast<ModalWindow*>(p);
        switch (event->keyval) {
            case GDK_KEY_Escape:
                self->EndDialog(res::IDCANCEL);
                return TRUE;
            case GDK_KEY_Return:
            case GDK_KEY_KP_Enter:
            case GDK_KEY_ISO_Enter:
                self->EndDialog(self->enterResult_);
                return TRUE;
            default:
                return FALSE;
        }
    }
    static void OnButton(GtkButton* button, gpointer p) {
        static_cast<ModalWindow*>(p)->EndDialog(
            GPOINTER_TO_INT(g_object_get_data(G_OBJECT(button), "orvane-result")));
    }

    GtkWidget* window_;
    bool closeBox_;
    int enterResult_;
    GtkWidget* defaultButton_ = nullptr;
    int result_ = res::IDCANCEL;
    ModalLoop loop_;
    std::map<int, guint> timers_;
    Connections signals_;
};

const char* IconName(unsigned type) {
    switch (EffectiveIcon(type)) {
        case MB_ICONERROR:
            return "dialog-error";
        case MB_ICONQUESTION:
            return "dialog-question";
        case MB_ICONINFORMATION:
            return "dialog-information";
        default:
            return "dialog-warning";
    }
}

// Pixels per dialog unit, from the average character width and the height of the font the
// window is drawn in (a dialog unit is a quarter of the one and an eighth of the other).
struct DialogUnits {
    double x;
    double y;
};

DialogUnits MeasureDialogUnits(GtkWidget* widget) {
    PangoContext* context = gtk_widget_get_pango_context(widget);
    PangoFontMetrics* metrics =
        pango_context_get_metrics(context, pango_context_get_font_description(context), nullptr);
    double charWidth = pango_font_metrics_get_approximate_char_width(metrics) / double{PANGO_SCALE};
    double height =
        (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
        double{PANGO_SCALE};
    pango_font_metrics_unref(metrics);
    if (charWidth <= 0)
        charWidth = 7;
    if (height <= 0)
        height = 16;
    return {charWidth / 4.0, height / 8.0};
}

}  // namespace

int GtkUi::MessageBox(std::string_view text, unsigned type) {
    ModalWindow box(owner_, res::LoadString(res::IDS_APP_TITLE), true, res::IDOK);
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(content), 16);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 14);
    GtkWidget* icon = gtk_image_new_from_icon_name(IconName(type), GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    GtkWidget* label = gtk_label_new(std::string(text).c_str());
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    gtk_label_set_xalign(GTK_LABEL(label), 0);
    gtk_label_set_selectable(GTK_LABEL(label), FALSE);
    gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    GtkWidget* buttons = gtk_button_box_new(GTK_ORIENTATION_HORIZONTAL);
    gtk_button_box_set_layout(GTK_BUTTON_BOX(buttons), GTK_BUTTONBOX_CENTER);
    GtkWidget* ok = box.AddButton(res::LoadString(res::IDS_OK), res::IDOK, true);
    gtk_widget_set_size_request(ok, 88, -1);
    gtk_container_add(GTK_CONTAINER(buttons), ok);
    gtk_box_pack_start(GTK_BOX(content), row, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(content), buttons, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(box.widget()), content);
    box.Run();
    return res::IDOK;  // one OK button: every way out answers OK
}

int GtkUi::DoModal(const res::DialogTemplate& dialog, DialogEvents* events) {
    int enterResult = res::IDOK;  // Enter presses the default button; without one it means OK
    for (const auto& item : dialog.items) {
        if (item.kind == res::DialogItem::Kind::DefaultButton)
            enterResult = item.id;
    }
    ModalWindow window(owner_, res::LoadString(dialog.captionId), dialog.systemMenu, enterResult);
    window.events = events;

    // The controls first, then their places: the template's geometry is kept, scaled up as a
    // whole where the system font needs more room than the template's font did, so that no
    // text is cut and no control overlaps another.
    struct Placed {
        const res::DialogItem* item;
        GtkWidget* widget;
    };
    std::vector<Placed> placed;
    for (const auto& item : dialog.items) {
        GtkWidget* widget = nullptr;
        switch (item.kind) {
            case res::DialogItem::Kind::Icon: {
                ObjectRef<GdkPixbuf> icon(LoadImage("icon-32.png"));
                widget = icon ? gtk_image_new_from_pixbuf(icon.get()) : gtk_image_new();
                break;
            }
            case res::DialogItem::Kind::Text:
                widget = gtk_label_new(std::string(res::LoadString(item.textId)).c_str());
                gtk_label_set_line_wrap(GTK_LABEL(widget), TRUE);
                // About as many characters as the template's width holds (4 units a character).
                gtk_label_set_max_width_chars(GTK_LABEL(widget), std::max(1, item.width / 4));
                gtk_label_set_xalign(GTK_LABEL(widget), 0);
                gtk_label_set_yalign(GTK_LABEL(widget), 0);
                break;
            case res::DialogItem::Kind::DefaultButton:
            case res::DialogItem::Kind::Button:
                widget = window.AddButton(res::LoadString(item.textId), item.id,
                                          item.kind == res::DialogItem::Kind::DefaultButton);
                break;
        }
        placed.push_back({&item, widget});
    }
    // Measured inside the window, where they have their style.
    GtkWidget* fixed = gtk_fixed_new();
    for (const auto& p : placed)
        gtk_fixed_put(GTK_FIXED(fixed), p.widget, 0, 0);
    gtk_container_add(GTK_CONTAINER(window.widget()), fixed);
    gtk_widget_show_all(fixed);  // hidden widgets measure as nothing

    DialogUnits du = MeasureDialogUnits(window.widget());
    auto px = [](double units, double scale) { return static_cast<int>(units * scale + 0.5); };
    // Widths: buttons and one-line texts must fit on one line.
    double grow = 1.0;
    for (const auto& p : placed) {
        const bool oneLine = p.item->kind != res::DialogItem::Kind::Text || p.item->height <= 10;
        if (p.item->kind == res::DialogItem::Kind::Icon || !oneLine)
            continue;
        int natural = 0;
        if (p.item->kind == res::DialogItem::Kind::Text) {
            gtk_label_set_line_wrap(GTK_LABEL(p.widget), FALSE);
            gtk_widget_get_preferred_width(p.widget, nullptr, &natural);
            gtk_label_set_line_wrap(GTK_LABEL(p.widget), TRUE);
        } else {
            gtk_widget_get_preferred_width(p.widget, nullptr, &natural);
        }
        grow = std::max(grow, natural / (p.item->width * du.x));
    }
    du.x *= std::min(grow, 3.0);
    // Heights: wrapped texts at their width must fit their height.
    grow = 1.0;
    for (const auto& p : placed) {
        if (p.item->kind != res::DialogItem::Kind::Text)
            continue;
        int height = 0;
        gtk_widget_get_preferred_height_for_width(p.widget, px(p.item->width, du.x), nullptr,
                                                  &height);
        grow = std::max(grow, height / (p.item->height * du.y));
    }
    du.y *= std::min(grow, 3.0);

    gtk_widget_set_size_request(fixed, px(dialog.width, du.x), px(dialog.height, du.y));
    for (const auto& p : placed) {
        const res::DialogItem& item = *p.item;
        if (item.kind != res::DialogItem::Kind::Icon) {
            const bool label = item.kind == res::DialogItem::Kind::Text;
            gtk_widget_set_size_request(p.widget, px(item.width, du.x),
                                        label ? -1 : px(item.height, du.y));
        }
        gtk_fixed_move(GTK_FIXED(fixed), p.widget, px(item.x, du.x), px(item.y, du.y));
    }
    if (events)
        events->OnInitDialog(window);
    return window.Run();
}

std::optional<std::string> GtkUi::GetOpenFileName(std::string_view filter) {
    GtkFileChooserNative* chooser = gtk_file_chooser_native_new(
        std::string(res::LoadString(res::IDS_OPEN_DIALOG_TITLE)).c_str(), owner_,
        GTK_FILE_CHOOSER_ACTION_OPEN,
        Mnemonic(res::LoadString(res::IDS_OPEN_DIALOG_ACCEPT)).c_str(),
        Mnemonic(res::LoadString(res::IDS_CANCEL)).c_str());
    ObjectRef<GtkFileChooserNative> owned(chooser);
    for (const auto& f : ParseFileFilters(filter)) {
        GtkFileFilter* gf = gtk_file_filter_new();
        gtk_file_filter_set_name(gf, f.description.c_str());
        for (const auto& pattern : f.patterns) {
            // "*.*" means every file, as on the system these lists come from.
            gtk_file_filter_add_pattern(gf, pattern == "*.*" ? "*" : pattern.c_str());
        }
        gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), gf);
    }
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(chooser), TRUE);
    std::optional<std::string> path;
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        if (char* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
            path = name;
            g_free(name);
        }
    }
    if (owner_)
        gtk_widget_queue_draw(GTK_WIDGET(owner_));
    return path;
}

}  // namespace orvane::platform::gtk
