#pragma once

// Runs the scenario table on a platform's window: the handlers a driver gives its toolkit, the
// program's writes, and each step's state compared with the model's.

#include "billboard_model.h"
#include "lumora.h"
#include "toolkit.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumora::scenarios {

// The handlers a driver gives its toolkit: the window's own, recording every Click, and failing
// on request.
class RecordingHandlers final : public EventHandlers {
public:
    explicit RecordingHandlers(Toolkit& ui) : form_(ui) {}
    void load() override;
    void timer(std::string_view timerName) override;
    void click(std::string_view arrayName, std::int16_t index) override;

    void failNextEvent() { failNext_ = true; }
    std::vector<std::string> takeClicks() { return std::exchange(clicks_, {}); }

private:
    void maybeFail();

    Lumora form_;
    std::vector<std::string> clicks_;
    bool failNext_ = false;
};

// Performs a program write on any toolkit; false for a step that is no program write.
bool performWrite(Toolkit& ui, const Step& step);

// A platform's window, acted on as its user, its clock and its program act on it.
class WindowDriver {
public:
    virtual ~WindowDriver() = default;
    // Performs the step: a program write through the toolkit, and the rest as the platform's
    // clock and user. A program write that fails throws its RuntimeError.
    void perform(const Step& step) {
        if (!performWrite(toolkit(), step)) {
            act(step);
        }
    }
    virtual WindowState observe() = 0;

private:
    virtual Toolkit& toolkit() = 0;
    // A step that is no program write.
    virtual void act(const Step& step) = 0;
};

// Runs a scenario on a new window; returns what differed from the model, step by step.
std::vector<std::string> run(WindowDriver& driver, const Scenario& scenario);

} // namespace lumora::scenarios
