#pragma once

// The one Windows timer of a window that its timer group waits on. A Windows timer repeats by
// itself, so it is set again only when the next delay differs from the last: where ticks come on
// time, never. It goes with its window.

#include "timer_group.h"

#include <windows.h>

#include <optional>

namespace lumora::win32 {

class WindowTimer {
public:
    // The WM_TIMER id it goes off with.
    static constexpr UINT_PTR id = 1;

    explicit WindowTimer(HWND window) : window_(window) {}

    void wait(std::optional<TimerGroup::Duration> delay);

private:
    HWND window_;
    UINT delayMs_ = 0; // 0 while it is not set
};

} // namespace lumora::win32
