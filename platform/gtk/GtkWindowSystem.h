// The window system on GTK: creates the main frame and runs the message loop.
#pragma once

#include "platform/Window.h"
#include "platform/gtk/GtkUi.h"
#include "platform/gtk/SandboxTrial.h"

namespace orvane::platform::gtk {

class GtkWindowSystem final : public WindowSystem {
  public:
    // Modal windows of `ui` are placed over the main frame once it exists. The frame's pages run
    // in WebKit's sandbox when `sandbox` says it works. Both must outlive this object.
    GtkWindowSystem(GtkUi& ui, SandboxTrial& sandbox) : ui_(ui), sandbox_(sandbox) {}

    std::unique_ptr<FrameWindow> CreateFrame(const FrameDescription& description,
                                             FrameEvents& frameEvents,
                                             BrowserEvents& browserEvents) override;
    void Run() override;

  private:
    GtkUi& ui_;
    SandboxTrial& sandbox_;
};

}  // namespace orvane::platform::gtk
