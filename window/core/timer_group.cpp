#include "timer_group.h"

#include <algorithm>

namespace lumora {
namespace {

// A tick due this soon comes with the ones due now: the next deadline still follows from its
// own, so the rhythm stays exact.
constexpr TimerGroup::Duration together = std::chrono::milliseconds(2);

} // namespace

std::size_t TimerGroup::add(Duration interval, std::function<void()> tick, bool running) {
    timers_.push_back({TickSchedule(interval, clock_()), std::move(tick), running});
    return timers_.size() - 1;
}

void TimerGroup::start(std::size_t timer) {
    Timer& t = timers_.at(timer);
    if (!t.running) {
        t.running = true;
        t.schedule.restart(clock_());
        waitForNext();
    }
}

void TimerGroup::stop(std::size_t timer) {
    timers_.at(timer).running = false;
    waitForNext();
}

void TimerGroup::setRunning(std::size_t timer, bool running) {
    if (running) {
        start(timer);
    } else {
        stop(timer);
    }
}

void TimerGroup::stopAll() {
    for (Timer& t : timers_) {
        t.running = false;
    }
    waitForNext();
}

std::optional<TimerGroup::Duration> TimerGroup::delay() const {
    const Duration now = clock_();
    std::optional<Duration> soonest;
    for (const Timer& t : timers_) {
        if (t.running) {
            const Duration delay = t.schedule.delay(now);
            soonest = soonest ? std::min(*soonest, delay) : delay;
        }
    }
    return soonest;
}

void TimerGroup::wake() {
    const Duration at = clock_() + together;
    for (Timer& t : timers_) {
        // A tick may stop timers (a run-time error stops them all): ask each in turn.
        if (t.running && t.schedule.fire(at)) {
            t.tick();
        }
    }
    waitForNext();
}

} // namespace lumora
