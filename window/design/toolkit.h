#pragma once

// How the layers meet. The window's logic (logic/) owns the state and the event handlers; it
// reaches the window only through `Toolkit`, addressing controls by their design name and index,
// and computes with the runtime's integers and texts (window/runtime/). A toolkit builds the
// window from the design table (window_design.h, here in window/design/), raises the Load event,
// shows the window and delivers events one at a time to an `EventHandlers`. The contract is
// carried out once, by the core in window/core/ (DesignedToolkit); each toolkit supplies only
// what is native to it: Qt widgets (window/qt/), Windows' own controls (window/win32/), the DOM
// of a web page (window/web/), and state in memory for tests (window/memory/). A run-time error
// (runtime_error.h) thrown by a handler ends the program through the toolkit.

#include "control_id.h"
#include "text_functions.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lumora {

// 24-bit RGB, 0xRRGGBB.
using Colour = std::uint32_t;

// "#RRGGBB": a colour as a stylesheet, the canvas and the tests' reports write it.
inline std::string hexColour(Colour colour) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text = "#";
    for (int shift = 20; shift >= 0; shift -= 4) {
        text += digits[(colour >> shift) & 0xFu];
    }
    return text;
}

// What the toolkit calls. Every call runs to its end before the next event is delivered; a Click
// raised by the handler's own write to a list or option button runs inside that write.
class EventHandlers {
public:
    virtual void load() = 0;
    virtual void timer(std::string_view timerName) = 0;
    virtual void click(std::string_view arrayName, std::int16_t index) = 0;

protected:
    ~EventHandlers() = default;
};

// The operations the logic relies on. Every operation given an absent control, or a control of
// another kind, throws RuntimeError (absent element).
class Toolkit {
public:
    virtual ~Toolkit() = default;

    // Raises Load once, before the window shows; `handlers` also receives every later event and
    // must outlive the toolkit's event delivery.
    virtual void load(EventHandlers& handlers) = 0;
    // Shows the window and delivers events until it is closed; returns the exit status.
    virtual int showAndDeliverEvents() = 0;

    // Picture box. With AutoRedraw on, dots persist and reappear whenever the box is shown.
    virtual void setAutoRedraw(ControlId picture, bool on) = 0;
    virtual void setVisible(ControlId picture, bool visible) = 0;
    // Diameter in pixels of later dots.
    virtual void setDrawWidth(ControlId picture, std::int16_t pixels) = 0;
    // Outer size in twips.
    virtual float width(ControlId picture) const = 0;
    virtual float height(ControlId picture) const = 0;
    virtual Colour backColor(ControlId picture) const = 0;
    // A filled round dot of DrawWidth pixels centred on (x, y), twips from the top-left inner
    // corner.
    virtual void pset(ControlId picture, float x, float y, Colour colour) = 0;

    // List box. The selected row from 0, or -1 for none. A write that changes it raises the
    // list's Click before returning; a row outside -1..rows-1 throws (invalid property value).
    virtual std::int16_t listIndex(ControlId list) const = 0;
    virtual void setListIndex(ControlId list, std::int16_t row) = 0;
    // Text of `row`; empty when there is no such row, -1 included.
    virtual Text listRow(ControlId list, std::int16_t row) const = 0;

    // Option button Value set true: selects it, deselects the rest of its frame and raises its
    // Click before returning, also when it was selected already.
    virtual void selectOption(ControlId option) = 0;

    virtual void setText(ControlId textBox, TextView text) = 0;

    // While enabled, the timer fires every Interval ms. Enabling a running timer keeps its rhythm.
    virtual void setEnabled(ControlId timer, bool enabled) = 0;
};

} // namespace lumora
