#pragma once

// The page's clock and the one browser timeout that the page's timer group waits on. A page that
// was frozen or throttled resumes at its next tick, without a burst of the ticks it missed: the
// group's deadlines follow the clock, not the count of timeouts.

#include "timer_group.h"

#include <functional>
#include <optional>

namespace lumora::web {

// The page's monotonic clock: performance.now().
TimerGroup::Duration pageClock();

class PageTimeout {
public:
    explicit PageTimeout(std::function<void()> wentOff) : wentOff_(std::move(wentOff)) {}
    ~PageTimeout();
    PageTimeout(const PageTimeout&) = delete;
    PageTimeout& operator=(const PageTimeout&) = delete;

    // Goes off once after `delay`, instead of what it waited for; with none, not at all.
    void wait(std::optional<TimerGroup::Duration> delay);

private:
    static void goOff(void* timeout);
    void clear();

    std::function<void()> wentOff_;
    long pending_ = 0; // the browser's timeout id; 0 when none is set
};

} // namespace lumora::web
