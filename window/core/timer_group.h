#pragma once

// Timers that wait on one platform timer, for platforms where each platform timer costs: Wine
// pays for every timer message and every repaint pass, and a browser renders after every task
// that changed the page. The design's timers are due together, so they tick in one wake-up of
// the one platform timer, which the group sets after every change to go off at the earliest
// deadline. Each timer keeps its own deadlines, so its rhythm stays exact however late the
// wake-ups come.

#include "tick_schedule.h"

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace lumora {

class TimerGroup {
public:
    using Duration = TickSchedule::Duration;
    // A monotonic clock.
    using Clock = std::function<Duration()>;
    // The platform timer: to go off once after the delay and call wake(), replacing what it
    // waited for before; with none, to go off no more.
    using Wait = std::function<void(std::optional<Duration> delay)>;

    TimerGroup(Clock clock, Wait wait) : clock_(std::move(clock)), wait_(std::move(wait)) {}

    // A timer, stopped or running from now; returns its number. Adding asks the platform timer
    // nothing: until the next change, delay() tells when to wake.
    std::size_t add(Duration interval, std::function<void()> tick, bool running = false);
    // Starting a stopped timer starts its rhythm afresh; starting a running one keeps it.
    void start(std::size_t timer);
    void stop(std::size_t timer);
    void setRunning(std::size_t timer, bool running);
    void stopAll();
    bool running(std::size_t timer) const { return timers_.at(timer).running; }

    // How long until the earliest deadline of the running timers; none while none runs.
    std::optional<Duration> delay() const;
    // The platform timer went off: ticks, in the order they were added, the timers due now or
    // within a moment.
    void wake();

    // The steady clock of the machine, for timers on screen.
    static Duration steadyClock() { return std::chrono::steady_clock::now().time_since_epoch(); }

private:
    void waitForNext() const { wait_(delay()); }

    struct Timer {
        TickSchedule schedule;
        std::function<void()> tick;
        bool running = false;
    };

    Clock clock_;
    Wait wait_;
    std::vector<Timer> timers_;
};

} // namespace lumora
