#include "platform/gtk/GtkWindowSystem.h"

#include "platform/gtk/GtkFrameWindow.h"

namespace orvane::platform::gtk {

std::unique_ptr<FrameWindow> GtkWindowSystem::CreateFrame(const FrameDescription& description,
                                                          FrameEvents& frameEvents,
                                                          BrowserEvents& browserEvents) {
    auto frame =
        std::make_unique<GtkFrameWindow>(description, frameEvents, browserEvents, sandbox_.Works());
    ui_.SetOwner(frame->window());
    return frame;
}

void GtkWindowSystem::Run() {
    gtk_main();
}

}  // namespace orvane::platform::gtk
