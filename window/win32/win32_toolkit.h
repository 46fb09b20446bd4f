#pragma once

// The toolkit on Windows: builds the window `Lumora` and every control of the design table from
// Windows' own controls (static text, edit controls, list boxes, a group box with radio buttons,
// picture boxes of our own class) at the window's real DPI, and delivers events through one
// message loop with dialog-style keyboard navigation. Program writes raise Clicks inside the
// write; user choices raise them once. A run-time error stops the timers, is shown in a message
// box and ends the message loop with runtimeErrorStatus.

#include "timer_group.h"
#include "toolkit.h"

#include <windows.h>

#include <memory>

namespace lumora {

class Win32Toolkit final : public Toolkit {
public:
    Win32Toolkit();
    // The timers on a clock of the caller's, as a test that steps time itself gives it.
    explicit Win32Toolkit(TimerGroup::Clock clock);
    ~Win32Toolkit() override;
    Win32Toolkit(const Win32Toolkit&) = delete;
    Win32Toolkit& operator=(const Win32Toolkit&) = delete;

    void load(EventHandlers& handlers) override;
    int showAndDeliverEvents() override;

    void setAutoRedraw(ControlId picture, bool on) override;
    void setVisible(ControlId picture, bool visible) override;
    void setDrawWidth(ControlId picture, std::int16_t pixels) override;
    float width(ControlId picture) const override;
    float height(ControlId picture) const override;
    Colour backColor(ControlId picture) const override;
    void pset(ControlId picture, float x, float y, Colour colour) override;
    std::int16_t listIndex(ControlId list) const override;
    void setListIndex(ControlId list, std::int16_t row) override;
    Text listRow(ControlId list, std::int16_t row) const override;
    void selectOption(ControlId option) override;
    void setText(ControlId textBox, TextView text) override;
    void setEnabled(ControlId timer, bool enabled) override;

    // The windows, for tests that act on them as a user would. control() throws RuntimeError
    // (absent element) for a timer or an absent control.
    HWND window() const;
    HWND control(ControlId id) const;
    int dpi() const;
    bool enabled(ControlId timer) const;

private:
    struct Window;
    std::unique_ptr<Window> window_;
};

} // namespace lumora
