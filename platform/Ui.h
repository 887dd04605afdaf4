// Modal user interface used before and outside the main window: message boxes and dialogs.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "res/Resources.h"

namespace orvane::platform {

// Message box styles; the values are the classic ones so that tables read the same everywhere.
enum MessageBoxType : unsigned {
    MB_OK = 0x0,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
};

// The icon a box shows: a style that names none gets the warning icon.
constexpr unsigned EffectiveIcon(unsigned type) {
    unsigned icon = type & MB_ICONMASK;
    return icon == 0 ? unsigned{MB_ICONWARNING} : icon;
}

// Hooks a dialog's owner may give to its modal run (the launching notice closes itself).
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    // Called once the dialog is shown; the owner may ask for a timer through `control`.
    virtual void OnInitDialog(class DialogControl& control) { (void)control; }
    virtual void OnTimer(DialogControl& control, int timerId) {
        (void)control;
        (void)timerId;
    }
};

// What a running dialog offers to its events.
class DialogControl {
  public:
    virtual ~DialogControl() = default;
    virtual void SetTimer(int timerId, unsigned milliseconds) = 0;
    virtual void EndDialog(int result) = 0;
};

class Ui {
  public:
    virtual ~Ui() = default;
    // Shows a modal message box captioned with the application title and one OK button.
    // Returns when the user has closed it.
    virtual int MessageBox(std::string_view text, unsigned type) = 0;
    // Runs the dialog built from `dialog` modally over the main window (or the screen when
    // there is none). Answers the id that ended it: a button's id, IDCANCEL for Escape or the
    // close box.
    virtual int DoModal(const res::DialogTemplate& dialog, DialogEvents* events = nullptr) = 0;
    // The Open dialog. `filter` lists file types as "Description|patterns|...||" (patterns
    // separated by ";"). Answers the chosen file's full path, or nothing when cancelled.
    virtual std::optional<std::string> GetOpenFileName(std::string_view filter) = 0;
};

}  // namespace orvane::platform
