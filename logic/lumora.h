#pragma once

// The window `Lumora`: its eight fields, the procedures that prepare the lamps, make the default
// choices and rewind the ticker, and the five event handlers. It reaches its controls only
// through the Toolkit it is given, so the same code runs on screen and in tests with no screen.

#include "toolkit.h"

#include <cstdint>

namespace lumora {

// The window's state, in its declared order. All zero or empty at creation.
struct LumoraFields {
    std::int16_t LampStep = 0;  // pair lit last, 0..7
    float DotX = 0;             // dot position inside a lamp, twips; keeps its fraction (63.75)
    std::int16_t DotY = 0;      // rounded to whole twips (64)
    std::int16_t TickerPos = 0; // 1-based start of the visible slice; 0 right after a rewind
    double VisibleLen = 0;      // characters the ticker shows
    std::int16_t MessageLen = 0;
    Text Message;
    Text TickerText; // Message, a blank, Message
};

class Lumora final : public EventHandlers {
public:
    explicit Lumora(Toolkit& ui) : ui_(ui) {}

    const LumoraFields& fields() const { return fields_; }

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
    void List1_Click(std::int16_t Index);
    void Option1_Click(std::int16_t Index);

    // EventHandlers: which event reaches which handler. Events of other controls are ignored.
    void load() override { Form_Load(); }
    void timer(std::string_view timerName) override;
    void click(std::string_view arrayName, std::int16_t index) override;

private:
    void PrepareLamps();
    void ApplyDefaults();
    void ResetTicker();

    Toolkit& ui_;
    LumoraFields fields_;
};

} // namespace lumora
