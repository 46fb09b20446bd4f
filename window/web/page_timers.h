#pragma once

// The page's timers: each fires its callback every interval on average, scheduled against
// deadlines on the page's monotonic clock, since the browser's own timers come late by a few
// milliseconds each time and setInterval lets that lateness add up. A page that was frozen or
// throttled resumes at its next tick, without a burst of the ticks it missed.
//
// All of them wait on one browser timeout, and timers due together fire in one task: the page
// then renders once for both, and neither waits for a frame the other caused.

#include "tick_schedule.h"

#include <functional>
#include <vector>

namespace lumora {

class PageTimers {
public:
    PageTimers() = default;
    ~PageTimers();
    PageTimers(const PageTimers&) = delete;
    PageTimers& operator=(const PageTimers&) = delete;

    // A timer, stopped; returns its number.
    std::size_t add(int intervalMs, std::function<void()> tick);
    // Starting a running timer keeps its rhythm.
    void start(std::size_t timer);
    void stop(std::size_t timer);

private:
    struct Timer {
        TickSchedule schedule;
        std::function<void()> tick;
        bool running = false;
    };

    static void wake(void* timers);
    // Waits for the earliest deadline of the running timers, or for nothing.
    void arm();

    std::vector<Timer> timers_;
    long pending_ = 0; // the browser's timeout id; 0 when none is set
};

} // namespace lumora
