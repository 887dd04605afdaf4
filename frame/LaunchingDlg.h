// The "Launching DICOM Image Viewer..." notice: a modal dialog without buttons or close box
// that closes itself after a number of seconds (or on Escape or Enter).
#pragma once

#include <cstdint>

#include "app/Dialogs.h"

namespace orvane {

class CLaunchingDlg final : public CDialog, private platform::DialogEvents {
  public:
    static constexpr int kTimerId = 1;

    explicit CLaunchingDlg(platform::Ui& ui) : CDialog(ui, res::IDD_LAUNCHING) {}

    // Seconds the notice stays up; a negative number means 10.
    void SetWaitInterval(std::int32_t seconds) { waitInterval_ = seconds < 0 ? 10 : seconds; }
    std::int32_t waitInterval() const { return waitInterval_; }

    // The timer's period: the seconds in milliseconds, kept within what a timer can hold.
    std::uint32_t TimerMilliseconds() const;

    int DoModal() { return CDialog::DoModal(this); }

  private:
    void OnInitDialog(platform::DialogControl& control) override;
    void OnTimer(platform::DialogControl& control, int timerId) override;

    std::int32_t waitInterval_ = 10;
};

}  // namespace orvane
