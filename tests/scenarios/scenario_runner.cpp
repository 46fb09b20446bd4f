#include "scenario_runner.h"

namespace lumora::scenarios {

void RecordingHandlers::maybeFail() {
    if (std::exchange(failNext_, false)) {
        throw RuntimeError::divisionByZero();
    }
}

void RecordingHandlers::load() {
    form_.load();
}

void RecordingHandlers::timer(std::string_view timerName) {
    maybeFail();
    form_.timer(timerName);
}

void RecordingHandlers::click(std::string_view arrayName, std::int16_t index) {
    maybeFail();
    clicks_.push_back(controlName({arrayName, index}));
    form_.click(arrayName, index);
}

bool performWrite(Toolkit& ui, const Step& step) {
    const ControlId id = step.control;
    switch (step.action) {
    case Action::WriteListIndex:
        ui.setListIndex(id, step.value);
        return true;
    case Action::WriteDrawWidth:
        ui.setDrawWidth(id, step.value);
        return true;
    case Action::WriteVisible:
        ui.setVisible(id, step.value != 0);
        return true;
    case Action::WriteAutoRedraw:
        ui.setAutoRedraw(id, step.value != 0);
        return true;
    case Action::WritePSet:
        ui.pset(id, lampDot().x, lampDot().y, step.colour);
        return true;
    default:
        return false;
    }
}
namespace {

std::string colourText(std::optional<Colour> colour) {
    if (!colour) {
        return "hidden";
    }
    return hexColour(*colour);
}

template <typename T> std::string joined(const T& items) {
    std::string text;
    for (const auto& item : items) {
        text += (text.empty() ? "" : " ") + item;
    }
    return "[" + text + "]";
}

void compare(std::vector<std::string>& failures, const std::string& where,
             const WindowState& expected, const WindowState& shown) {
    const auto differ = [&](const std::string& what, const std::string& want,
                            const std::string& got) {
        if (want != got) {
            failures.push_back(where + ": " + what + " should be " + want + ", is " + got);
        }
    };
    differ("the ticker", "'" + toUtf8(expected.ticker) + "'", "'" + toUtf8(shown.ticker) + "'");
    differ(controlName(lengths) + "'s row", std::to_string(expected.lengthRow),
           std::to_string(shown.lengthRow));
    differ(controlName(messages) + "'s row", std::to_string(expected.messageRow),
           std::to_string(shown.messageRow));
    differ("the chosen option", std::to_string(expected.chosenOption),
           std::to_string(shown.chosenOption));
    for (std::size_t n = 0; n < lampCount; ++n) {
        differ(controlName(lamp(n)), colourText(expected.lamps[n]), colourText(shown.lamps[n]));
    }
    differ(controlName(Timer1) + " runs", std::to_string(expected.tickerTimerRuns),
           std::to_string(shown.tickerTimerRuns));
    differ(controlName(Timer2) + " runs", std::to_string(expected.lampTimerRuns),
           std::to_string(shown.lampTimerRuns));
    differ("the Clicks", joined(expected.clicks), joined(shown.clicks));
    if (shown.focus) {
        differ("the focus", *expected.focus, *shown.focus);
    }
    if (shown.chosenRowsInView) {
        differ("the chosen rows in view", "1", std::to_string(*shown.chosenRowsInView));
    }
    const auto status = [](std::optional<int> s) { return s ? std::to_string(*s) : "none"; };
    differ("the exit status", status(expected.exitStatus), status(shown.exitStatus));
}

} // namespace

std::vector<std::string> run(WindowDriver& driver, const Scenario& scenario) {
    BillboardModel model;
    std::vector<std::string> failures;
    compare(failures, "when loaded", model.state(), driver.observe());
    for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        const std::string where = "after step " + std::to_string(i + 1);
        try {
            driver.perform(step);
            if (step.fails) {
                failures.push_back(where + ": the write raised no run-time error");
            }
        } catch (const RuntimeError& error) {
            if (step.fails != error.number()) {
                failures.push_back(where + ": unexpected " + error.report());
            }
        }
        model.apply(step);
        compare(failures, where, model.state(), driver.observe());
    }
    return failures;
}

} // namespace lumora::scenarios
