#pragma once

// When a timer ticks. A platform timer re-armed with the whole interval after every tick runs
// slow by however late each tick came (Windows' clock steps by about 15.6 ms, a browser's timers
// are late by a few ms), and the lateness adds up. Scheduled against deadlines instead, each tick
// is due one interval after the previous deadline, so lateness never accumulates: ticks average
// the interval exactly. After a long hold-up (a suspended machine, a hidden page), the ticks
// missed are dropped rather than delivered in a burst, and the rhythm starts afresh.

#include <chrono>

namespace lumora {

class TickSchedule {
public:
    using Duration = std::chrono::nanoseconds;

    // Starts at `now`: the first tick is due one interval later.
    TickSchedule(Duration interval, Duration now)
        : interval_(interval), deadline_(now + interval) {}

    void restart(Duration now) { deadline_ = now + interval_; }

    // How long from `now` until the next tick is due; what to arm the platform's timer with.
    Duration delay(Duration now) const { return deadline_ > now ? deadline_ - now : Duration(0); }

    // The platform's timer went off at `now`. Returns whether a tick is due; if so, the next
    // deadline is set.
    bool fire(Duration now) {
        if (now < deadline_) {
            return false;
        }
        deadline_ += interval_;
        if (deadline_ <= now) {
            deadline_ = now + interval_;
        }
        return true;
    }

private:
    Duration interval_;
    Duration deadline_;
};

} // namespace lumora
