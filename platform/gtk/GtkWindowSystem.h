// The window system on GTK: creates the main frame and runs the message loop.
#pragma once

#include "platform/Window.h"
#include "platform/gtk/GtkUi.h"

namespace orvane::platform::gtk {

class GtkWindowSystem final : public WindowSystem {
  public:
    // Modal windows of `ui` are placed over the main frame once it exists.
    explicit GtkWindowSystem(GtkUi& ui) : ui_(ui) {}

    std::unique_ptr<FrameWindow> CreateFrame(const FrameDescription& description,
                                             FrameEvents& frameEvents,
                                             BrowserEvents& browserEvents) override;
    void Run() override;

  private:
    GtkUi& ui_;
};

}  // namespace orvane::platform::gtk
