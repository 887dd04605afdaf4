#include "frame/LaunchingDlg.h"

#include <limits>

namespace orvane {

std::uint32_t CLaunchingDlg::TimerMilliseconds() const {
    const auto ms = static_cast<std::uint64_t>(waitInterval_) * 1000u;
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(ms, std::numeric_limits<std::uint32_t>::max()));
}

void CLaunchingDlg::OnInitDialog(platform::DialogControl& control) {
    control.SetTimer(kTimerId, TimerMilliseconds());
}

void CLaunchingDlg::OnTimer(platform::DialogControl& control, int) {
    control.EndDialog(res::IDCANCEL);
}

}  // namespace orvane
