// Small RAII helpers for GObject and signal handling, and the guard every toolkit callback
// runs its body in.
#pragma once

#include <gtk/gtk.h>

#include <cstdio>
#include <exception>
#include <list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace orvane::platform::gtk {

// Runs `body` so that no exception crosses into the toolkit, which cannot unwind C frames.
template <class F>
void Guarded(F&& body) noexcept {
    try {
        body();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orvanestart: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "orvanestart: unexpected error\n");
    }
}

// Owns one reference to a GObject.
template <class T>
class ObjectRef {
  public:
    ObjectRef() = default;
    explicit ObjectRef(T* adopted) : p_(adopted) {}
    ObjectRef(const ObjectRef&) = delete;
    ObjectRef& operator=(const ObjectRef&) = delete;
    ObjectRef(ObjectRef&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ObjectRef& operator=(ObjectRef&& o) noexcept {
        reset(std::exchange(o.p_, nullptr));
        return *this;
    }
    ~ObjectRef() { reset(); }
    void reset(T* adopted = nullptr) {
        if (p_)
            g_object_unref(p_);
        p_ = adopted;
    }
    T* get() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

  private:
    T* p_ = nullptr;
};

// Signal handlers connected by one owner, disconnected together when the owner goes. An
// instance that is finalized earlier (a popup menu that was replaced) is simply forgotten.
class Connections {
  public:
    Connections() = default;
    Connections(const Connections&) = delete;
    Connections& operator=(const Connections&) = delete;
    ~Connections() { DisconnectAll(); }

    template <class Instance, class Callback>
    void Connect(Instance* instance, const char* signal, Callback callback, gpointer data) {
        auto& entry = entries_.emplace_back(Entry{G_OBJECT(instance), 0});
        entry.id = g_signal_connect(instance, signal, G_CALLBACK(callback), data);
        g_object_weak_ref(entry.instance, &Connections::Forget, &entry);
    }
    void DisconnectAll() {
        for (auto& entry : entries_) {
            if (!entry.instance)
                continue;
            g_object_weak_unref(entry.instance, &Connections::Forget, &entry);
            g_signal_handler_disconnect(entry.instance, entry.id);
        }
        entries_.clear();
    }

  private:
    struct Entry {
        GObject* instance;
        gulong id;
    };
    static void Forget(gpointer entry, GObject*) { static_cast<Entry*>(entry)->instance = nullptr; }

    std::list<Entry> entries_;  // stable addresses for the weak references
};

// The program's images, from the resources compiled into it.
GdkPixbuf* LoadImage(const char* name);  // a new reference, or null
// The program's icon at the sizes the desktop asks for.
GList*
ProgramIcons();  // a list of new references; free with g_list_free_full(list, g_object_unref)

// A "&" mnemonic text as GTK writes it: "&" becomes "_", "_" is doubled, "&&" is a plain "&".
std::string Mnemonic(std::string_view text);

// Runs a nested main loop until `quit` is called; used for every modal window.
class ModalLoop {
  public:
    ModalLoop() : loop_(g_main_loop_new(nullptr, FALSE)) {}
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;
    ~ModalLoop() { g_main_loop_unref(loop_); }
    void Run() { g_main_loop_run(loop_); }
    void Quit() {
        if (g_main_loop_is_running(loop_))
            g_main_loop_quit(loop_);
    }

  private:
    GMainLoop* loop_;
};

}  // namespace orvane::platform::gtk
