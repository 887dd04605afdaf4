// The main frame window on GTK 3: menu bar, toolbar band, status bar and the web view, built
// from the tables in res/.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <span>
#include <vector>

#include "platform/Window.h"
#include "platform/gtk/GtkSupport.h"
#include "platform/gtk/WebKitEngine.h"
#include "res/Resources.h"

namespace orvane::platform::gtk {

class GtkFrameWindow final : public FrameWindow {
  public:
    // `sandboxPages`: whether the web view runs its pages in WebKit's sandbox.
    GtkFrameWindow(const FrameDescription& description, FrameEvents& frameEvents,
                   BrowserEvents& browserEvents, bool sandboxPages);
    GtkFrameWindow(const GtkFrameWindow&) = delete;
    GtkFrameWindow& operator=(const GtkFrameWindow&) = delete;
    ~GtkFrameWindow() override;

    GtkWindow* window() const { return GTK_WINDOW(window_); }

    BrowserEngine& Browser() override { return *engine_; }
    void SetCaption(std::string_view caption) override;
    void SetMessageText(std::string_view text) override;
    void ShowWindow(int showCommand) override;
    void UpdateWindow() override;
    void TrackPopupMenu(int menuId, Point topLeft) override;
    void UpdateCommandStates() override;
    void Close() override;

  private:
    struct CommandWidget {
        GtkFrameWindow* owner;
        int commandId;
        GtkWidget* widget;
        GdkPixbuf* cold = nullptr;  // toolbar buttons: the normal and the hot image
        GdkPixbuf* hot = nullptr;
        GtkWidget* image = nullptr;
    };

    using CommandWidgets = std::vector<std::unique_ptr<CommandWidget>>;
    GtkWidget* BuildMenu(std::span<const res::MenuItem> items, CommandWidgets& store);
    GtkWidget* BuildMenuBar(const res::Menu& menu);
    void BuildAccelerators(int resourceId);
    GtkWidget* BuildToolbar();
    GtkWidget* BuildToolButton(const res::ToolbarButton& button, GdkPixbuf* coldStrip,
                               GdkPixbuf* hotStrip);
    GtkWidget* BuildStatusBar();
    void UpdateIndicators();
    void Command(int commandId);
    CommandWidget* Track(CommandWidgets& store, int commandId, GtkWidget* widget);
    void UpdateMenuItems(const CommandWidgets& store, GtkWidget* menu);

    static void OnMenuItemActivate(GtkMenuItem*, gpointer);
    static void OnMenuItemSelect(GtkMenuItem*, gpointer);
    static void OnMenuItemDeselect(GtkMenuItem*, gpointer);
    static void OnMenuShow(GtkWidget*, gpointer);
    static void OnButtonClicked(GtkButton*, gpointer);
    static gboolean OnButtonEnter(GtkWidget*, GdkEventCrossing*, gpointer);
    static gboolean OnButtonLeave(GtkWidget*, GdkEventCrossing*, gpointer);
    static void OnDropDown(GtkButton*, gpointer);
    static gboolean OnAccelerator(GtkAccelGroup*, GObject*, guint, GdkModifierType, gpointer);
    static gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer);
    static gboolean OnFocusIn(GtkWidget*, GdkEventFocus*, gpointer);
    static gboolean OnFocusOut(GtkWidget*, GdkEventFocus*, gpointer);
    static void OnKeymapChanged(GdkKeymap*, gpointer);
    static gboolean OnDrawGripper(GtkWidget*, cairo_t*, gpointer);

    FrameEvents& events_;
    GtkWidget* window_ = nullptr;
    std::unique_ptr<WebKitEngine> engine_;
    GtkWidget* prompt_ = nullptr;  // the status bar's message pane
    std::vector<GtkWidget*> indicators_;
    CommandWidgets commands_;       // menu bar items and toolbar buttons
    CommandWidgets popupCommands_;  // items of the current popup menu
    std::vector<ObjectRef<GdkPixbuf>> images_;
    ObjectRef<GtkAccelGroup> accelerators_;
    GtkWidget* popup_ = nullptr;
    // Set when the window loses the focus: what the user did elsewhere (deleting the results
    // page, say) is looked at again when the focus comes back. The first focus-in right after
    // the window is shown needs no second look.
    bool focusLeft_ = false;
    Connections signals_;
};

}  // namespace orvane::platform::gtk
