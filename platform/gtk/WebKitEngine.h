// The browser engine on WebKitGTK.
#pragma once

#include <webkit2/webkit2.h>

#include <deque>
#include <string>

#include "platform/Window.h"
#include "platform/gtk/GtkSupport.h"

namespace orvane::platform::gtk {

// A web view whose navigations are all put to the program before anything loads. The question
// is asked from an idle callback, never inside the engine's signal, so that the program's modal
// dialogs cannot re-enter it; navigations that arrive meanwhile wait their turn. Website data is
// kept in memory only: the engine writes nothing to the user's folders.
class WebKitEngine final : public BrowserEngine {
  public:
    // With `sandboxPages` the web process runs in WebKit's sandbox; only where it can start
    // (see SandboxTrial), or the window would show no pages.
    WebKitEngine(BrowserEvents& events, bool sandboxPages);
    WebKitEngine(const WebKitEngine&) = delete;
    WebKitEngine& operator=(const WebKitEngine&) = delete;
    ~WebKitEngine() override;

    GtkWidget* widget() const { return GTK_WIDGET(view_); }

    void Navigate(std::string_view pathOrAddress) override;
    void GoBack() override;
    void GoForward() override;
    void GoHome() override;
    void GoSearch() override;
    void Stop() override;
    void Refresh() override;
    void SetTextSize(int level) override;

    // The address the engine loads for `pathOrAddress`: addresses stay as they are, local paths
    // become file addresses (relative ones taken from the current folder).
    static std::string AddressOf(std::string_view pathOrAddress);

  private:
    struct Pending {
        ObjectRef<WebKitPolicyDecision> decision;  // null for window.open()
        std::string address;
        bool newWindow;
    };

    void Queue(WebKitPolicyDecision* decision, const char* uri, bool newWindow);
    void ScheduleNext();
    void DecideNext();

    static gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision*, WebKitPolicyDecisionType,
                                   gpointer);
    static GtkWidget* OnCreate(WebKitWebView*, WebKitNavigationAction*, gpointer);
    static void OnTitle(GObject*, GParamSpec*, gpointer);
    static void OnMouseTarget(WebKitWebView*, WebKitHitTestResult*, guint, gpointer);
    static void OnLoadChanged(WebKitWebView*, WebKitLoadEvent, gpointer);
    static gboolean OnIdle(gpointer);

    BrowserEvents& events_;
    ObjectRef<WebKitWebContext> context_;
    WebKitWebView* view_ = nullptr;  // a reference of our own; the frame's layout holds another
    std::deque<Pending> pending_;
    guint idle_ = 0;
    bool deciding_ = false;
    std::string lastStatus_;
    std::string approved_;  // a load the program has already allowed
    Connections signals_;
};

}  // namespace orvane::platform::gtk
