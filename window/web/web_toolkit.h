#pragma once

// The toolkit in a web page: takes over the window `Lumora` that the page's HTML already shows
// (see window_markup.h), each control by its name, and from then on shows the program's writes
// in it and reports the visitor's choices.
//
// A run-time error leaving a handler stops the timers, disables the controls and shows the error
// in a modal dialog: the program has ended, though the page stays.

#include "designed_toolkit.h"

#include <emscripten/val.h>

#include <memory>

namespace lumora::web {

class WebToolkit final : public DesignedToolkit {
public:
    // Takes over the page's window; its timers on the page's clock, or on one a test steps.
    WebToolkit();
    explicit WebToolkit(TimerGroup::Clock clock);
    ~WebToolkit() override;
    WebToolkit(const WebToolkit&) = delete;
    WebToolkit& operator=(const WebToolkit&) = delete;

private:
    // Returns at once, the page showing the window already: in a page the browser delivers the
    // events, after the program's entry has returned. So the toolkit and the handlers must live as
    // long as the page does.
    int deliverEvents() override;
    void showRow(std::size_t position, int row) override;
    void showChecked(std::size_t position, bool checked) override;
    void showText(std::size_t position, TextView text) override;
    void wakeAfter(std::optional<TimerGroup::Duration> delay) override;
    void fail(const RuntimeError& error) override;

    struct Page;
    std::unique_ptr<Page> page_;
};

} // namespace lumora::web
