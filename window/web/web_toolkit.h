#pragma once

// The toolkit in a web page: builds the window `Lumora` and every control of the design table as
// HTML controls on the page's DOM (labels, a read-only input, list boxes, a fieldset of radio
// buttons, read-only textareas, canvases), absolutely placed at the design's size in CSS pixels,
// in tab-place order so that the keyboard and a screen reader meet them as on the desktop.
//
// Program writes raise Clicks by calling the handlers directly, inside the write; the page's
// change events raise them only for the user's own choices. A run-time error leaving a handler
// stops the timers, disables the controls and shows the error in a modal dialog: the program
// has ended, though the page stays.

#include "timer_group.h"
#include "toolkit.h"

#include <emscripten/val.h>

#include <memory>

namespace lumora {

class WebToolkit final : public Toolkit {
public:
    // Adds the window to the page's body.
    WebToolkit();
    // The timers on a clock of the caller's, as a test that steps time itself gives it.
    explicit WebToolkit(TimerGroup::Clock clock);
    ~WebToolkit() override;
    WebToolkit(const WebToolkit&) = delete;
    WebToolkit& operator=(const WebToolkit&) = delete;

    void load(EventHandlers& handlers) override;
    // Shows the window and returns at once: in a page the browser delivers the events, after
    // the program's entry has returned. So the toolkit and the handlers must live as long as the
    // page does. Returns runtimeErrorStatus when Load failed, 0 otherwise.
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

    // For tests that step the clock: what the browser's timeout runs, and whether a timer runs.
    void wakeTimers();
    bool enabled(ControlId timer) const;

private:
    struct Page;
    std::unique_ptr<Page> page_;
};

} // namespace lumora
