// Command routing: each class lists the commands it handles in a table, like a message map.
// A command goes to the active view first, then to the frame, then to the application object;
// a command that no class in that chain handles is disabled, and update handlers may disable
// one that is handled.
#pragma once

#include <span>

namespace orvane {

// The state a command is given when menus and toolbar buttons are brought up to date.
struct CCmdUI {
    int commandId = 0;
    bool enabled = true;
    void Enable(bool on) { enabled = on; }
};

template <class T>
struct CommandEntry {
    int firstId;
    int lastId;
    void (T::*handler)(int commandId);
};

template <class T>
struct UpdateEntry {
    int commandId;
    void (T::*handler)(CCmdUI& state);
};

template <class T>
bool HandlesCommand(std::span<const CommandEntry<T>> map, int id) {
    for (const auto& entry : map) {
        if (id >= entry.firstId && id <= entry.lastId)
            return true;
    }
    return false;
}

// Runs the handler of `id`; false when the map has none.
template <class T>
bool DispatchCommand(std::span<const CommandEntry<T>> map, T& target, int id) {
    for (const auto& entry : map) {
        if (id >= entry.firstId && id <= entry.lastId) {
            (target.*entry.handler)(id);
            return true;
        }
    }
    return false;
}

template <class T>
void DispatchUpdate(std::span<const UpdateEntry<T>> map, T& target, CCmdUI& state) {
    for (const auto& entry : map) {
        if (entry.commandId == state.commandId)
            (target.*entry.handler)(state);
    }
}

}  // namespace orvane
