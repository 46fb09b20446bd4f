#include "page_timers.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <algorithm>
#include <cmath>
#include <optional>

namespace lumora {
namespace {

TickSchedule::Duration now() {
    // performance.now(): milliseconds, monotonic, with a fraction.
    return TickSchedule::Duration(std::llround(emscripten_get_now() * 1e6));
}

// A tick due this soon fires with the ones due now: the next deadline still follows from its
// own, so the rhythm stays exact.
constexpr TickSchedule::Duration together = std::chrono::milliseconds(2);

} // namespace

PageTimers::~PageTimers() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
    }
}

std::size_t PageTimers::add(int intervalMs, std::function<void()> tick) {
    timers_.push_back(
        {TickSchedule(std::chrono::milliseconds(intervalMs), now()), std::move(tick)});
    return timers_.size() - 1;
}

void PageTimers::start(std::size_t timer) {
    Timer& t = timers_.at(timer);
    if (t.running) {
        return;
    }
    t.running = true;
    t.schedule.restart(now());
    arm();
}

void PageTimers::stop(std::size_t timer) {
    timers_.at(timer).running = false;
    arm();
}

void PageTimers::arm() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
        pending_ = 0;
    }
    const TickSchedule::Duration at = now();
    std::optional<TickSchedule::Duration> soonest;
    for (const Timer& t : timers_) {
        if (t.running) {
            const TickSchedule::Duration delay = t.schedule.delay(at);
            soonest = soonest ? std::min(*soonest, delay) : delay;
        }
    }
    if (soonest) {
        pending_ = emscripten_set_timeout(
            &PageTimers::wake, std::chrono::duration<double, std::milli>(*soonest).count(), this);
    }
}

void PageTimers::wake(void* timers) {
    auto& self = *static_cast<PageTimers*>(timers);
    self.pending_ = 0;
    const TickSchedule::Duration at = now() + together;
    for (Timer& t : self.timers_) {
        // A tick may stop timers (a run-time error stops them all): ask each in turn.
        if (t.running && t.schedule.fire(at)) {
            t.tick();
        }
    }
    self.arm();
}

} // namespace lumora
