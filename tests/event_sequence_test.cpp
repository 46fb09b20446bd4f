// Long random sequences of events, and a full day of ticks: the window's invariants hold after
// every event and no run-time error arises.
//
// LUMORA_SEED fixes the random sequence (the seed used is printed); LUMORA_EVENTS sets its length.

#include "lumora.h"
#include "memory_toolkit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <random>

namespace lumora {
namespace {

constexpr ControlId ticker{Text2(0)};

unsigned long long environmentNumber(const char* name, unsigned long long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::strtoull(value, nullptr, 10) : fallback;
}

// Checks the invariants; returns a description of the first one broken, or nothing.
std::string brokenInvariant(const memory::MemoryToolkit& ui, const Lumora& form,
                            bool tickerTicked) {
    const LumoraFields& f = form.fields();
    if (f.MessageLen != static_cast<std::int16_t>(f.Message.size())) {
        return "MessageLen is not the length of Message";
    }
    if (f.TickerText != join(join(f.Message, U" "), f.Message)) {
        return "TickerText is not Message, a blank and Message";
    }
    if (f.LampStep < 0 || f.LampStep > 7) {
        return "LampStep out of 0..7";
    }
    int litPairs = 0;
    for (std::int16_t k = 0; k < 8; ++k) {
        const bool up = ui.isVisible(Picture1(k));
        if (up != ui.isVisible(Picture2(k))) {
            return "a lamp is lit without its opposite";
        }
        litPairs += up ? 1 : 0;
    }
    if (litPairs > 1) {
        return "more than one pair lit";
    }
    const std::size_t shown = ui.text(ticker).size();
    if (tickerTicked && shown != static_cast<std::size_t>(f.VisibleLen)) {
        return "the ticker does not show VisibleLen characters";
    }
    if (shown < 10 || shown > 30 || shown % 5 != 0) {
        return "the ticker shows a length no list row offers";
    }
    // A message switch may leave TickerPos past the new message's end until the next tick.
    if (tickerTicked && (f.TickerPos < 1 || f.TickerPos >= f.MessageLen)) {
        return "TickerPos out of 1..MessageLen-1 after a tick";
    }
    return {};
}

TEST(EventSequence, InvariantsHoldAfterEveryRandomEvent) {
    const auto seed = environmentNumber("LUMORA_SEED", std::random_device{}());
    const auto events = environmentNumber("LUMORA_EVENTS", 1'000'000);
    std::cout << "LUMORA_SEED=" << seed << " LUMORA_EVENTS=" << events << '\n';
    std::mt19937_64 random(seed);

    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);
    for (unsigned long long n = 1; n <= events; ++n) {
        bool tickerTicked = false;
        switch (random() % 6) {
        case 0:
        case 1:
            tickerTicked = ui.tick(Timer1);
            break;
        case 2:
        case 3:
            ui.tick(Timer2);
            break;
        case 4: {
            const auto list = static_cast<std::int16_t>(random() % 2);
            const auto rows = list == 0 ? 5 : 3;
            ui.chooseRow(List1(list), static_cast<std::int16_t>(random() % rows));
            break;
        }
        default:
            ui.clickOption(Option1(static_cast<std::int16_t>(random() % 2)));
        }
        ui.clearWrites();
        const std::string broken = brokenInvariant(ui, form, tickerTicked);
        ASSERT_TRUE(broken.empty())
            << broken << " after event " << n << " (LUMORA_SEED=" << seed << ")";
    }
}

TEST(EventSequence, FullDayOfTicksReturnsToItsCycle) {
    constexpr int ticksPerDay = 24 * 60 * 60 * 5; // one every 200 ms
    memory::MemoryToolkit ui;
    Lumora form(ui);
    ui.load(form);
    for (int tick = 1; tick <= ticksPerDay; ++tick) {
        ui.tick(Timer1);
        ui.tick(Timer2);
        ui.clearWrites();
    }
    // 46 characters scroll in cycles of 45 frames; the lamps in turns of 8.
    const LumoraFields& f = form.fields();
    EXPECT_EQ(f.TickerPos, (ticksPerDay - 1) % 45 + 1);
    EXPECT_EQ(ui.text(ticker), substring(f.TickerText, f.TickerPos, 20));
    EXPECT_EQ(f.LampStep, ticksPerDay % 8);
    EXPECT_TRUE(ui.isVisible(Picture1(f.LampStep)));
    EXPECT_EQ(brokenInvariant(ui, form, true), "");
}

} // namespace
} // namespace lumora
