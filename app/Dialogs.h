// The dialogs that start-up and the application object show. Each runs modally through the
// platform's Ui from its template in res/ and lives on its caller's stack.
#pragma once

#include "platform/Ui.h"

namespace orvane {

// A dialog built from template `id`, with the framework's default OK and Cancel handling.
class CDialog {
  public:
    CDialog(platform::Ui& ui, int templateId) : ui_(ui), templateId_(templateId) {}
    virtual ~CDialog() = default;
    // Answers the id of the button that ended the dialog, IDCANCEL for Escape or the close box.
    int DoModal(platform::DialogEvents* events = nullptr);

  private:
    platform::Ui& ui_;
    int templateId_;
};

// The About box: icon, version line and notice, one OK button.
class CAboutDlg : public CDialog {
  public:
    explicit CAboutDlg(platform::Ui& ui) : CDialog(ui, res::IDD_ABOUTBOX) {}
};

// Offers to install a newer browser; IDOK from its install button.
class CBrowserCheckDlg : public CDialog {
  public:
    explicit CBrowserCheckDlg(platform::Ui& ui) : CDialog(ui, res::IDD_BROWSER_CHECK) {}
};

}  // namespace orvane
