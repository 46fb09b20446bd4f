#pragma once

// A toolkit with no screen: it keeps every control's state in memory, records each write the
// program makes in order, and lets a test act as the user and the clock. Clicks and ticks run
// the handlers synchronously, so a test drives the whole program with no event loop and no
// sleeps. Run-time errors propagate to the caller instead of ending the process.

#include "toolkit.h"
#include "window_design.h"

#include <string>
#include <vector>

namespace lumora {

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

class MemoryToolkit final : public Toolkit {
public:
    MemoryToolkit();

    void load(EventHandlers& handlers) override;
    // Marks the window shown and returns 0 at once: no user is there to deliver events.
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

    // The clock and the user. Each returns whether an event was delivered: a disabled timer
    // does not fire, and choosing the selected row or option again raises no Click.
    bool tick(std::string_view timerName);
    bool chooseRow(ControlId list, std::int16_t row);
    bool clickOption(ControlId option);

    // What the window shows.
    bool isShown() const { return shown_; }
    Text text(ControlId textBox) const;
    bool isVisible(ControlId picture) const;
    bool autoRedraw(ControlId picture) const;
    std::int16_t drawWidth(ControlId picture) const;
    // The dots a lamp holds, oldest first.
    const std::vector<Dot>& dots(ControlId picture) const;
    bool isSelected(ControlId option) const;
    bool isEnabled(ControlId timer) const;

    const std::vector<PropertyWrite>& writes() const { return writes_; }
    void clearWrites() { writes_.clear(); }

private:
    struct ControlState {
        bool visible = true;
        bool autoRedraw = false;
        std::int16_t drawWidth = 1;
        std::int16_t listIndex = -1;
        bool selected = false;
        bool enabled = false;
        Text text;
        std::vector<Dot> dots;
    };

    ControlState& state(ControlId id, ControlKind kind);
    const ControlState& state(ControlId id, ControlKind kind) const;
    void record(ControlId id, std::string property, std::string value);
    void select(ControlId option);
    // Events reach the handlers once load() has bound them.
    void raiseClick(ControlId id);

    std::vector<ControlState> states_; // one per entry of controlDesigns()
    std::vector<PropertyWrite> writes_;
    EventHandlers* handlers_ = nullptr;
    bool shown_ = false;
};

} // namespace lumora
