#pragma once

// The page's timers: a timer group on the page's monotonic clock, waiting on one browser
// timeout. A page that was frozen or throttled resumes at its next tick, without a burst of the
// ticks it missed.

#include "timer_group.h"

namespace lumora::web {

// The page's monotonic clock: performance.now().
TimerGroup::Duration pageClock();

class PageTimers {
public:
    explicit PageTimers(TimerGroup::Clock clock);
    ~PageTimers();
    PageTimers(const PageTimers&) = delete;
    PageTimers& operator=(const PageTimers&) = delete;

    // A timer, stopped; returns its number.
    std::size_t add(int intervalMs, std::function<void()> tick);
    // Starting a running timer keeps its rhythm.
    void start(std::size_t timer);
    void stop(std::size_t timer);
    bool running(std::size_t timer) const { return group_.running(timer); }
    // What the browser's timeout runs: ticks the timers that are due.
    void wake();

private:
    static void wakeUp(void* timers);
    // Waits for the earliest deadline of the running timers, or for nothing.
    void arm();

    TimerGroup group_;
    long pending_ = 0; // the browser's timeout id; 0 when none is set
};

} // namespace lumora::web
