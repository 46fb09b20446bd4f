#pragma once

// The contract carried out once, from the design table, for every toolkit on screen: what each
// operation checks and throws, which writes change nothing, the Click raised inside a program
// write and once for a user's new choice, one chosen option per frame, the sizes and colours the
// design gives, and the delivery of events (event_dispatch.h). A toolkit derives from it and
// supplies only what is native to it: its picture boxes as surfaces to draw on, showing a row, a
// check mark, a text, one platform timer to wake the design's timers, and reporting a run-time
// error; it reports the user's choices and that timer's going off back here.

#include "event_dispatch.h"
#include "picture_surface.h"
#include "runtime_error.h"
#include "timer_group.h"
#include "toolkit.h"
#include "window_design.h"

#include <vector>

namespace lumora {

class DesignedToolkit : public Toolkit {
public:
    void load(EventHandlers& handlers) final;
    // Once a run-time error in Load has ended the program, the window never shows.
    int showAndDeliverEvents() final { return failed() ? runtimeErrorStatus : deliverEvents(); }

    void setAutoRedraw(ControlId picture, bool on) final;
    void setVisible(ControlId picture, bool visible) final;
    void setDrawWidth(ControlId picture, std::int16_t pixels) final;
    float width(ControlId picture) const final;
    float height(ControlId picture) const final;
    Colour backColor(ControlId picture) const final;
    void pset(ControlId picture, float x, float y, Colour colour) final;
    std::int16_t listIndex(ControlId list) const final;
    void setListIndex(ControlId list, std::int16_t row) final;
    Text listRow(ControlId list, std::int16_t row) const final;
    void selectOption(ControlId option) final;
    void setText(ControlId textBox, TextView text) final;
    void setEnabled(ControlId timer, bool enabled) final;

    // What the program set, for tests: whether a timer runs, and a picture box's properties.
    bool enabled(ControlId timer) const;
    bool autoRedraw(ControlId picture) const;
    std::int16_t drawWidth(ControlId picture) const;
    // The platform timer went off: the design's timers due now tick. A test that steps the clock
    // calls it too.
    void wakeTimers() { timers_.wake(); }

protected:
    // The design's timers keep time on `clock`; a test may give one that it steps itself.
    explicit DesignedToolkit(TimerGroup::Clock clock = &TimerGroup::steadyClock);
    ~DesignedToolkit() override = default;

    // What the platform reports: a user's choice of a row or an option button (the chosen one
    // again raises nothing).
    void userChoseRow(std::size_t position, int row);
    void userChoseOption(std::size_t position);
    // A timer's tick, where the platform ticks each timer itself rather than waking them all.
    void timerTicked(std::size_t position);
    // Whether a run-time error has ended the program.
    bool failed() const { return events_.failed(); }
    // The control at `position` that has a window of its own: throws RuntimeError (absent
    // element) for a timer, as for a control the design lacks.
    static std::size_t windowedPosition(ControlId id);
    // The picture box at `position`, as the platform made it; each is attached once, before Load.
    void attachPicture(std::size_t position, PictureSurface& surface);
    // The picture box at `position` has a new scale, its drawing lost: draws its dots again.
    void pictureRescaled(std::size_t position);

private:
    // Shows the window and delivers events until it is closed; returns the exit status.
    virtual int deliverEvents() = 0;
    // What the platform does, for the control at `position` in the design table. None raises an
    // event.
    virtual void showRow(std::size_t position, int row) = 0;
    virtual void showChecked(std::size_t position, bool checked) = 0;
    virtual void showText(std::size_t position, TextView text) = 0;
    // The one platform timer: to go off once after `delay` and call wakeTimers(), instead of what
    // it waited for; with none, to go off no more.
    virtual void wakeAfter(std::optional<TimerGroup::Duration> delay) = 0;
    // A run-time error left a handler, and the timers have stopped: report it; no event follows.
    virtual void fail(const RuntimeError& error) = 0;

    // What a picture box holds. A dot is kept as the program drew it, in twips, its diameter in
    // DrawWidth pixels, so that it can be drawn again at any scale.
    struct HeldDot {
        float x;
        float y;
        std::int16_t drawWidth;
        Colour colour;
        bool operator==(const HeldDot&) const = default;
    };
    struct Drawing {
        PictureSurface* surface = nullptr;
        bool autoRedraw = false;
        std::int16_t drawWidth = 1;
        std::vector<HeldDot> dots; // oldest first
    };

    void choose(std::size_t option);
    Drawing& picture(ControlId id);
    static void draw(PictureSurface& surface, const HeldDot& dot);

    TimerGroup timers_;
    // Per control of the design: a timer's number in `timers_`.
    std::vector<std::size_t> timerNumbers_;
    EventDispatch events_{[this](const RuntimeError& error) {
        timers_.stopAll();
        fail(error);
    }};
    // Per control of the design: a list's chosen row, whether an option button is chosen.
    std::vector<int> rows_;
    std::vector<bool> chosen_;
    std::vector<Drawing> pictures_;
};

} // namespace lumora
