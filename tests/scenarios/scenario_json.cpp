#include "scenario_json.h"

#include "text_functions.h"

#include <sstream>

namespace lumora::scenarios {
namespace {

constexpr const char* actionNames[] = {
    "Tick",           "ChooseRow",      "ClickOption",  "Key",
    "WriteListIndex", "WriteDrawWidth", "WriteVisible", "WriteAutoRedraw",
    "WritePSet",      "FailNextEvent",  "Close"};
constexpr const char* keyNames[] = {"Down", "Up", "Tab", "BackTab"};

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + '"';
}

template <typename T> std::string optional(const std::optional<T>& value) {
    if (!value) {
        return "null";
    }
    if constexpr (std::is_same_v<T, std::string>) {
        return quoted(*value);
    } else if constexpr (std::is_same_v<T, bool>) {
        return *value ? "true" : "false";
    } else {
        return std::to_string(*value);
    }
}

std::string stateJson(const WindowState& state) {
    std::ostringstream out;
    out << "{\"ticker\":" << quoted(toUtf8(state.ticker)) << ",\"lengthRow\":" << state.lengthRow
        << ",\"messageRow\":" << state.messageRow << ",\"chosenOption\":" << state.chosenOption
        << ",\"lamps\":[";
    for (std::size_t n = 0; n < lampCount; ++n) {
        out << (n == 0 ? "" : ",") << optional(state.lamps[n]);
    }
    out << "],\"tickerTimerRuns\":" << std::boolalpha << state.tickerTimerRuns
        << ",\"lampTimerRuns\":" << state.lampTimerRuns << ",\"clicks\":[";
    for (std::size_t n = 0; n < state.clicks.size(); ++n) {
        out << (n == 0 ? "" : ",") << quoted(state.clicks[n]);
    }
    out << "],\"focus\":" << optional(state.focus)
        << ",\"chosenRowsInView\":" << optional(state.chosenRowsInView)
        << ",\"exitStatus\":" << optional(state.exitStatus) << '}';
    return out.str();
}

std::string stepJson(const Step& step) {
    std::ostringstream out;
    out << "{\"action\":" << quoted(actionNames[static_cast<int>(step.action)])
        << ",\"code\":" << static_cast<int>(step.action)
        << ",\"control\":" << quoted(step.control.name.empty() ? "" : controlName(step.control))
        << ",\"name\":" << quoted(step.control.name) << ",\"index\":" << step.control.index
        << ",\"value\":" << step.value
        << ",\"key\":" << quoted(keyNames[static_cast<int>(step.key)])
        << ",\"colour\":" << step.colour
        << ",\"fails\":" << (step.fails ? std::to_string(static_cast<int>(*step.fails)) : "null");
    return out.str();
}

} // namespace

std::string tableJson() {
    std::ostringstream out;
    out << "{\"lamps\":[";
    for (std::size_t n = 0; n < lampCount; ++n) {
        out << (n == 0 ? "" : ",") << quoted(controlName(lamp(n)));
    }
    out << "],\"dot\":[" << lampDot().x << ',' << lampDot().y << "],\"scenarios\":[";
    bool first = true;
    for (const Scenario& scenario : windowScenarios()) {
        BillboardModel model;
        out << (first ? "" : ",") << "\n{\"name\":" << quoted(scenario.name)
            << ",\"reportName\":" << quoted(reportName(scenario)) << ",\"skipped\":"
            << (skipped(scenario, Platform::Page) ? quoted(scenario.whySkipped) : "null")
            << ",\"loaded\":" << stateJson(model.state()) << ",\"steps\":[";
        for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
            model.apply(scenario.steps[i]);
            out << (i == 0 ? "" : ",") << "\n " << stepJson(scenario.steps[i])
                << ",\"expected\":" << stateJson(model.state()) << '}';
        }
        out << "]}";
        first = false;
    }
    out << "\n]}\n";
    return out.str();
}

std::string randomStepsJson(unsigned seed, std::size_t count) {
    std::ostringstream out;
    out << '[';
    const std::vector<RandomStep> steps = randomSteps(seed, count, true);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const RandomStep& random = steps[i];
        out << (i == 0 ? "" : ",") << "{\"step\":" << stepJson(random.step) << "},\"point\":";
        if (random.point) {
            out << '[' << random.point->first << ',' << random.point->second << ']';
        } else {
            out << "null";
        }
        out << ",\"rightButton\":" << std::boolalpha << random.rightButton
            << ",\"doubleClick\":" << random.doubleClick << '}';
    }
    out << ']';
    return out.str();
}

} // namespace lumora::scenarios
