#pragma once

// The toolkit on screen: builds the window `Lumora` and every control of the design table as
// Qt widgets, converting twips to device-independent pixels (15 to one), so that high-DPI
// screens scale the whole window. A QApplication must exist first (QtPlatform).
// A run-time error leaving any handler stops the timers, is reported in a message box and ends
// the event loop with runtimeErrorStatus.

#include "designed_toolkit.h"
#include "runtime_error.h"

#include <memory>

class QWidget;

namespace lumora::qt {

class QtToolkit final : public DesignedToolkit {
public:
    // The timers on the machine's clock, or on one a test steps itself.
    explicit QtToolkit(TimerGroup::Clock clock = &TimerGroup::steadyClock);
    ~QtToolkit() override;
    QtToolkit(const QtToolkit&) = delete;
    QtToolkit& operator=(const QtToolkit&) = delete;

    // The widgets, for tests that act on them as a user would.
    QWidget* window() const;
    // Throws RuntimeError (absent element) for a timer or an absent control.
    QWidget* widget(ControlId id) const;

private:
    int deliverEvents() override;
    void showRow(std::size_t position, int row) override;
    void showChecked(std::size_t position, bool checked) override;
    void showText(std::size_t position, TextView text) override;
    void wakeAfter(std::optional<TimerGroup::Duration> delay) override;
    void fail(const RuntimeError& error) override;

    struct Widgets;
    std::unique_ptr<Widgets> widgets_;
};

} // namespace lumora::qt
