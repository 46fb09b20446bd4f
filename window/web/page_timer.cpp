#include "page_timer.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <cmath>

namespace lumora {
namespace {

TickSchedule::Duration now() {
    // performance.now(): milliseconds, monotonic, with a fraction.
    return TickSchedule::Duration(std::llround(emscripten_get_now() * 1e6));
}

} // namespace

PageTimer::PageTimer(int intervalMs, std::function<void()> tick)
    : schedule_(std::chrono::milliseconds(intervalMs), now()), tick_(std::move(tick)) {}

void PageTimer::start() {
    if (pending_ != 0) {
        return;
    }
    schedule_.restart(now());
    arm();
}

void PageTimer::stop() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
        pending_ = 0;
    }
}

void PageTimer::arm() {
    const double delayMs =
        std::chrono::duration<double, std::milli>(schedule_.delay(now())).count();
    pending_ = emscripten_set_timeout(&PageTimer::wake, delayMs, this);
}

void PageTimer::wake(void* timer) {
    auto& self = *static_cast<PageTimer*>(timer);
    self.pending_ = 0;
    const bool due = self.schedule_.fire(now());
    // Armed before the tick, so that a tick that stops the timer has something to stop.
    self.arm();
    if (due) {
        self.tick_();
    }
}

} // namespace lumora
