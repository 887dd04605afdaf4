// Message boxes, dialogs from the templates in res/ and the Open dialog, on GTK.
#pragma once

#include <gtk/gtk.h>

#include "platform/Ui.h"

namespace orvane::platform::gtk {

class GtkUi final : public Ui {
  public:
    // Modal windows are placed over `owner` (the main window once it exists) and keep input
    // from it while they are up.
    void SetOwner(GtkWindow* owner) { owner_ = owner; }

    int MessageBox(std::string_view text, unsigned type) override;
    int DoModal(const res::DialogTemplate& dialog, DialogEvents* events) override;
    std::optional<std::string> GetOpenFileName(std::string_view filter) override;

  private:
    GtkWindow* owner_ = nullptr;
};

}  // namespace orvane::platform::gtk
