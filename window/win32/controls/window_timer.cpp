#include "window_timer.h"

#include <algorithm>

namespace lumora::win32 {

void WindowTimer::wait(std::optional<TimerGroup::Duration> delay) {
    if (!delay) {
        if (delayMs_ != 0) {
            KillTimer(window_, id);
            delayMs_ = 0;
        }
        return;
    }
    const auto ms = std::max<UINT>(
        static_cast<UINT>(std::chrono::ceil<std::chrono::milliseconds>(*delay).count()),
        USER_TIMER_MINIMUM);
    if (ms != delayMs_) {
        SetTimer(window_, id, ms, nullptr);
        delayMs_ = ms;
    }
}

} // namespace lumora::win32
