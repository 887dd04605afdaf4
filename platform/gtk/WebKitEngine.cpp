#include "platform/gtk/WebKitEngine.h"

#include <array>

#include "res/Resources.h"

namespace orvane::platform::gtk {
namespace {

// Text-only zoom factors of the five text sizes, smallest to largest.
constexpr std::array<double, 5> kTextZoom{0.7, 0.85, 1.0, 1.2, 1.45};

// Whether `text` starts with a URI scheme ("http:", "file:", "about:"). A single letter before
// the colon is a drive, not a scheme.
bool HasScheme(std::string_view text) {
    auto colon = text.find(':');
    if (colon == std::string_view::npos || colon < 2)
        return false;
    if (!g_ascii_isalpha(text[0]))
        return false;
    for (std::size_t i = 1; i < colon; ++i) {
        char c = text[i];
        if (!g_ascii_isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// The address as a person reads it ("%20" as a blank), or as it is when it cannot be decoded.
std::string Readable(const char* uri) {
    if (!uri)
        return {};
    char* decoded = g_uri_unescape_string(uri, nullptr);
    if (!decoded)
        return uri;
    std::string out(decoded);
    g_free(decoded);
    if (out.find('\0') != std::string::npos || !g_utf8_validate(out.data(), -1, nullptr))
        return uri;
    return out;
}

}  // namespace

WebKitEngine::WebKitEngine(BrowserEvents& events, bool sandboxPages)
    : events_(events), context_(webkit_web_context_new_ephemeral()) {
    // The sandbox must be set before the view exists.
    if (sandboxPages)
        webkit_web_context_set_sandbox_enabled(context_.get(), TRUE);
    view_ = WEBKIT_WEB_VIEW(webkit_web_view_new_with_context(context_.get()));
    g_object_ref_sink(view_);
    WebKitSettings* settings = webkit_web_view_get_settings(view_);
    webkit_settings_set_zoom_text_only(settings, TRUE);
    // Pages are drawn on the processor rather than composited through the graphics driver: disc
    // pages are documents that gain nothing from it; without it the first page shows sooner, the
    // web process needs far less memory, and the pages do not depend on a driver that some
    // systems cannot share buffers with (the view then stays blank).
    webkit_settings_set_hardware_acceleration_policy(settings,
                                                     WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    // Pages from the disc may not read other local files.
    webkit_settings_set_allow_file_access_from_file_urls(settings, FALSE);
    webkit_settings_set_allow_universal_access_from_file_urls(settings, FALSE);
    webkit_settings_set_enable_developer_extras(settings, FALSE);

    signals_.Connect(view_, "decide-policy", &WebKitEngine::OnDecidePolicy, this);
    signals_.Connect(view_, "create", &WebKitEngine::OnCreate, this);
    signals_.Connect(view_, "notify::title", &WebKitEngine::OnTitle, this);
    signals_.Connect(view_, "mouse-target-changed", &WebKitEngine::OnMouseTarget, this);
    signals_.Connect(view_, "load-changed", &WebKitEngine::OnLoadChanged, this);
}

WebKitEngine::~WebKitEngine() {
    signals_.DisconnectAll();
    if (idle_)
        g_source_remove(idle_);
    for (auto& p : pending_) {
        if (p.decision)
            webkit_policy_decision_ignore(p.decision.get());
    }
    pending_.clear();
    g_object_unref(view_);
}

std::string WebKitEngine::AddressOf(std::string_view pathOrAddress) {
    std::string text(pathOrAddress);
    if (HasScheme(text))
        return text;
    char* absolute = g_canonicalize_filename(text.c_str(), nullptr);
    char* uri = g_filename_to_uri(absolute, nullptr, nullptr);
    std::string out = uri ? uri : std::string("file://") + absolute;
    g_free(uri);
    g_free(absolute);
    return out;
}

void WebKitEngine::Navigate(std::string_view pathOrAddress) {
    if (pathOrAddress.empty()) {
        // Nothing to show (the disc has no start page): say so rather than show an empty
        // window or the listing of some folder. As a data address the page is one like any
        // other: Refresh and the history bring it back.
        const std::string_view message = res::LoadString(res::IDS_NO_START_PAGE);
        char* text = g_markup_escape_text(message.data(), static_cast<gssize>(message.size()));
        std::string html =
            std::string("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>") + text +
            "</title></head><body style=\"font: 1.1em sans-serif; margin: 2em\"><p>" + text +
            "</p></body></html>";
        g_free(text);
        char* escaped = g_uri_escape_string(html.c_str(), nullptr, FALSE);
        const std::string address = std::string("data:text/html;charset=utf-8,") + escaped;
        g_free(escaped);
        webkit_web_view_load_uri(view_, address.c_str());
        return;
    }
    webkit_web_view_load_uri(view_, AddressOf(pathOrAddress).c_str());
}

void WebKitEngine::GoBack() {
    webkit_web_view_go_back(view_);
}
void WebKitEngine::GoForward() {
    webkit_web_view_go_forward(view_);
}
// The engine has no home or search page of its own: both show an empty page.
void WebKitEngine::GoHome() {
    webkit_web_view_load_uri(view_, "about:blank");
}
void WebKitEngine::GoSearch() {
    webkit_web_view_load_uri(view_, "about:blank");
}
void WebKitEngine::Stop() {
    webkit_web_view_stop_loading(view_);
}
void WebKitEngine::Refresh() {
    webkit_web_view_reload(view_);
}

void WebKitEngine::SetTextSize(int level) {
    if (level < 0 || level >= static_cast<int>(kTextZoom.size()))
        return;
    webkit_web_view_set_zoom_level(view_, kTextZoom[static_cast<std::size_t>(level)]);
}

void WebKitEngine::Queue(WebKitPolicyDecision* decision, const char* uri, bool newWindow) {
    Pending p;
    if (decision)
        p.decision.reset(WEBKIT_POLICY_DECISION(g_object_ref(decision)));
    p.address = uri ? uri : "";
    p.newWindow = newWindow;
    pending_.push_back(std::move(p));
    ScheduleNext();
}

void WebKitEngine::ScheduleNext() {
    if (!idle_ && !pending_.empty())
        idle_ = g_idle_add(&WebKitEngine::OnIdle, this);
}

void WebKitEngine::DecideNext() {
    if (deciding_ || pending_.empty())
        return;  // one question at a time
    Pending p = std::move(pending_.front());
    pending_.pop_front();
    deciding_ = true;
    bool cancel = true;
    Guarded([&] { cancel = events_.OnBeforeNavigate(Readable(p.address.c_str())); });
    deciding_ = false;
    if (p.decision) {
        if (cancel || p.newWindow) {
            webkit_policy_decision_ignore(p.decision.get());
        } else {
            webkit_policy_decision_use(p.decision.get());
        }
    }
    // A single window: a page that asks for a new one gets this one. That load was answered
    // already, so it is not asked about again.
    if (!cancel && p.newWindow) {
        approved_ = p.address;
        webkit_web_view_load_uri(view_, p.address.c_str());
    }
    ScheduleNext();
}

gboolean WebKitEngine::OnIdle(gpointer self) {
    auto* engine = static_cast<WebKitEngine*>(self);
    engine->idle_ = 0;
    engine->DecideNext();
    return G_SOURCE_REMOVE;
}

gboolean WebKitEngine::OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
        type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
        return FALSE;  // responses: the engine's own handling
    }
    auto* engine = static_cast<WebKitEngine*>(self);
    Guarded([&] {
        WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
            WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
        const bool newWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
        if (!newWindow && !engine->approved_.empty() && uri && engine->approved_ == uri) {
            engine->approved_.clear();
            webkit_policy_decision_use(decision);
            return;
        }
        engine->Queue(decision, uri, newWindow);
    });
    return TRUE;
}

GtkWidget* WebKitEngine::OnCreate(WebKitWebView*, WebKitNavigationAction* action, gpointer self) {
    auto* engine = static_cast<WebKitEngine*>(self);
    Guarded([&] {
        WebKitURIRequest* request = webkit_navigation_action_get_request(action);
        engine->Queue(nullptr, webkit_uri_request_get_uri(request), true);
    });
    return nullptr;  // no second window
}

void WebKitEngine::OnTitle(GObject*, GParamSpec*, gpointer self) {
    auto* engine = static_cast<WebKitEngine*>(self);
    const char* title = webkit_web_view_get_title(engine->view_);
    // Each navigation first reports an empty title; the page's own follows.
    if (title && *title)
        Guarded([&] { engine->events_.OnTitleChange(title); });
}

void WebKitEngine::OnMouseTarget(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer self) {
    auto* engine = static_cast<WebKitEngine*>(self);
    std::string text;
    if (webkit_hit_test_result_context_is_link(hit)) {
        text = Readable(webkit_hit_test_result_get_link_uri(hit));
    }
    if (text == engine->lastStatus_)
        return;
    engine->lastStatus_ = text;
    Guarded([&] { engine->events_.OnStatusText(text); });
}

void WebKitEngine::OnLoadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer self) {
    if (event != WEBKIT_LOAD_FINISHED)
        return;
    auto* engine = static_cast<WebKitEngine*>(self);
    Guarded([&] {
        std::string address = Readable(webkit_web_view_get_uri(view));
        // A page without a title is known by its address.
        const char* title = webkit_web_view_get_title(view);
        if ((!title || !*title) && !address.empty())
            engine->events_.OnTitleChange(address);
        engine->events_.OnDocumentComplete(address);
    });
}

}  // namespace orvane::platform::gtk
