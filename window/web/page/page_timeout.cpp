#include "page_timeout.h"

#include <emscripten/emscripten.h>
#include <emscripten/eventloop.h>

#include <cmath>

namespace lumora::web {

TimerGroup::Duration pageClock() {
    // Milliseconds, with a fraction.
    return TimerGroup::Duration(std::llround(emscripten_get_now() * 1e6));
}

PageTimeout::~PageTimeout() {
    clear();
}

void PageTimeout::clear() {
    if (pending_ != 0) {
        emscripten_clear_timeout(pending_);
        pending_ = 0;
    }
}

void PageTimeout::wait(std::optional<TimerGroup::Duration> delay) {
    clear();
    if (delay) {
        pending_ = emscripten_set_timeout(
            &PageTimeout::goOff, std::chrono::duration<double, std::milli>(*delay).count(), this);
    }
}

void PageTimeout::goOff(void* timeout) {
    auto* self = static_cast<PageTimeout*>(timeout);
    self->pending_ = 0;
    self->wentOff_();
}

} // namespace lumora::web
