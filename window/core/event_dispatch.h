#pragma once

// How an on-screen toolkit hands events to the window's handlers. An event from the user or the
// clock runs its handler to the end; a run-time error leaving it ends the program: the toolkit's
// `fail` reports it (and stops the clock), and nothing is delivered afterwards. A Click raised by
// a program write runs inside the write instead, and its errors travel out through the write to
// the handler that made it.

#include "runtime_error.h"
#include "toolkit.h"

#include <cstdio>
#include <functional>

namespace lumora {

class EventDispatch {
public:
    explicit EventDispatch(std::function<void(const RuntimeError&)> fail)
        : fail_(std::move(fail)) {}

    // Binds the handlers and raises Load.
    void load(EventHandlers& handlers) {
        handlers_ = &handlers;
        deliver([](EventHandlers& h) { h.load(); });
    }
    void timer(std::string_view timerName) {
        deliver([timerName](EventHandlers& h) { h.timer(timerName); });
    }
    void userClick(ControlId id) {
        deliver([id](EventHandlers& h) { h.click(id.name, id.index); });
    }
    void programClick(ControlId id) const {
        if (handlers_ != nullptr) {
            handlers_->click(id.name, id.index);
        }
    }

    bool failed() const { return failed_; }

private:
    template <typename Handler> void deliver(const Handler& handler) {
        if (failed_ || handlers_ == nullptr) {
            return;
        }
        try {
            handler(*handlers_);
        } catch (const RuntimeError& error) {
            failed_ = true;
            std::fprintf(stderr, "lumora: %s\n", error.report().c_str());
            fail_(error);
        }
    }

    std::function<void(const RuntimeError&)> fail_;
    EventHandlers* handlers_ = nullptr;
    bool failed_ = false;
};

} // namespace lumora
