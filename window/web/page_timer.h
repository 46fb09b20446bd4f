#pragma once

// A timer of the page: fires its callback every interval on average, scheduled against deadlines
// on the page's monotonic clock, since the browser's own timers come late by a few milliseconds
// each time and setInterval lets that lateness add up. A page that was frozen or throttled
// resumes at its next tick, without a burst of the ticks it missed.

#include "tick_schedule.h"

#include <functional>

namespace lumora {

class PageTimer {
public:
    PageTimer(int intervalMs, std::function<void()> tick);
    ~PageTimer() { stop(); }
    PageTimer(const PageTimer&) = delete;
    PageTimer& operator=(const PageTimer&) = delete;

    // Starting a running timer keeps its rhythm.
    void start();
    void stop();

private:
    static void wake(void* timer);
    void arm();

    TickSchedule schedule_;
    std::function<void()> tick_;
    long pending_ = 0; // the browser's timeout id; 0 while stopped
};

} // namespace lumora
