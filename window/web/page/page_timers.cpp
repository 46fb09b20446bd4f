#include "page_timers.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <cmath>

namespace lumora::web {
TimerGroup::Duration pageClock() {
    // Milliseconds, with a fraction.
    return TimerGroup::Duration(std::llround(emscripten_get_now() * 1e6));
}

PageTimers::PageTimers(TimerGroup::Clock clock) : group_(std::move(clock)) {}

PageTimers::~PageTimers() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
    }
}

std::size_t PageTimers::add(int intervalMs, std::function<void()> tick) {
    return group_.add(std::chrono::milliseconds(intervalMs), std::move(tick));
}

void PageTimers::start(std::size_t timer) {
    if (!group_.running(timer)) {
        group_.start(timer);
        arm();
    }
}

void PageTimers::stop(std::size_t timer) {
    group_.stop(timer);
    arm();
}

void PageTimers::arm() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
        pending_ = 0;
    }
    if (const auto soonest = group_.delay()) {
        pending_ = emscripten_set_timeout(
            &PageTimers::wakeUp, std::chrono::duration<double, std::milli>(*soonest).count(), this);
    }
}

void PageTimers::wakeUp(void* timers) {
    static_cast<PageTimers*>(timers)->pending_ = 0;
    static_cast<PageTimers*>(timers)->wake();
}

void PageTimers::wake() {
    group_.wake();
    arm();
}

} // namespace lumora::web
