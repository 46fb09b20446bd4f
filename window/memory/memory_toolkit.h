#pragma once

// A toolkit with no screen: the contract's own core over natives that keep every control's state
// in memory and record each write that reaches the window, in order; a test acts as the user and
// the clock. Clicks and ticks run the handlers synchronously, so a test drives the whole program
// with no event loop and no sleeps. A run-time error ends the program as on screen, and is then
// thrown on to the test instead of being reported.

#include "designed_toolkit.h"

#include <memory>
#include <string>
#include <vector>

namespace lumora::memory {

struct PropertyWrite {
    std::string control;  // "Picture1(0)", "Timer1"
    std::string property; // "Visible", "PSet", ...
    std::string value;    // "True", "10", "(63.75, 64) #FF0000", UTF-8 text
    bool operator==(const PropertyWrite&) const = default;
};

struct Dot {
    float x = 0; // twips
    float y = 0;
    Colour colour = 0;
    int diameter = 0; // pixels
    bool operator==(const Dot&) const = default;
};

class MemoryToolkit final : public DesignedToolkit {
public:
    MemoryToolkit();
    ~MemoryToolkit() override;
    MemoryToolkit(const MemoryToolkit&) = delete;
    MemoryToolkit& operator=(const MemoryToolkit&) = delete;

    // The clock and the user. Each returns whether an event was delivered: a disabled timer
    // does not fire, and choosing the selected row or option again raises no Click.
    bool tick(ControlId timer);
    bool chooseRow(ControlId list, std::int16_t row);
    bool clickOption(ControlId option);

    // What the window shows.
    bool isShown() const { return shown_; }
    Text text(ControlId textBox) const;
    bool isVisible(ControlId picture) const;
    // The dots a lamp holds, oldest first.
    const std::vector<Dot>& dots(ControlId picture) const;
    bool isSelected(ControlId option) const;

    const std::vector<PropertyWrite>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

private:
    struct ControlState {
        bool visible = true;
        bool selected = false;
        Text text;
        std::vector<Dot> dots;
    };

    // A picture box's surface, whose pixels are the design's own: twips for dots, pixels for
    // their diameter.
    class Picture;

    // Marks the window shown and returns at once, no user being there to deliver events.
    int deliverEvents() override;
    void showRow(std::size_t position, int row) override;
    void showChecked(std::size_t position, bool checked) override;
    void showText(std::size_t position, TextView text) override;
    void wakeAfter(std::optional<TimerGroup::Duration> /*delay*/) override {}
    void fail(const RuntimeError& error) override;

    const ControlState& state(ControlId id, ControlKind kind) const;
    void record(std::size_t position, std::string property, std::string value);

    std::vector<ControlState> states_; // one per entry of controlDesigns()
    std::vector<std::unique_ptr<Picture>> pictures_;
    std::vector<PropertyWrite> writes_;
    bool shown_ = false;
};

} // namespace lumora::memory
