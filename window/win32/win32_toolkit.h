#pragma once

// The toolkit on Windows: builds the window `Lumora` and every control of the design table from
// Windows' own controls (static text, edit controls, list boxes, a group box with radio buttons,
// picture boxes of our own class) at the window's real DPI, and delivers events through one
// message loop with dialog-style keyboard navigation. A run-time error stops the timers, is shown
// in a message box and ends the message loop with runtimeErrorStatus.

#include "designed_toolkit.h"

#include <windows.h>

#include <memory>

namespace lumora::win32 {

class Win32Toolkit final : public DesignedToolkit {
public:
    // The timers on the machine's clock, or on one a test steps itself.
    explicit Win32Toolkit(TimerGroup::Clock clock = &TimerGroup::steadyClock);
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    // The windows, for tests that act on them as a user would. control() throws RuntimeError
    // (absent element) for a timer or an absent control.
    HWND window() const;
    HWND control(ControlId id) const;
    int dpi() const;

private:
    int deliverEvents() override;
    void showRow(std::size_t position, int row) override;
    void showChecked(std::size_t position, bool checked) override;
    void showText(std::size_t position, TextView text) override;
    void wakeAfter(std::optional<TimerGroup::Duration> delay) override;
    void fail(const RuntimeError& error) override;

    struct Window;
    std::unique_ptr<Window> window_;
};

} // namespace lumora::win32
