#include "scenario_table.h"

#include "integer_arithmetic.h"

#include <algorithm>

namespace lumora::scenarios {
namespace {

Step write(Action action, ControlId id, std::int16_t value,
           std::optional<RuntimeError::Number> fails = {}) {
    return {.action = action, .control = id, .value = value, .fails = fails};
}
Step close() {
    return {.action = Action::Close};
}

std::vector<Step> repeated(const Step& step, int times) {
    return std::vector<Step>(static_cast<std::size_t>(times), step);
}

std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<Scenario> buildScenarios() {
    constexpr auto invalid = RuntimeError::InvalidPropertyValue;
    constexpr auto absent = RuntimeError::AbsentElement;
    const auto cycle = static_cast<int>(rows(messages)[0].size()); // L - 1 frames, and round again
    const std::vector<Platform> noKeyboard{Platform::Memory};
    return {
        {"loaded state", {}},
        {"one character a tick, a cycle of L - 1 frames", repeated(tick(), cycle)},
        {"a new length restarts at the next tick",
         repeated(tick(), 3) + std::vector{choose(lengths, 0)} + repeated(tick(), 2) +
             std::vector{choose(lengths, 4), tick()}},
        {"a new message switches in place",
         repeated(tick(), 40) +
             std::vector{choose(messages, 2), tick(), choose(messages, 1), tick()}},
        {"choosing the chosen row or option again raises nothing",
         repeated(tick(), 2) +
             std::vector{choose(lengths, 2), choose(messages, 0), option(start), tick()}},
        {"the lamps light in opposite pairs in the colours of k and 7 - k",
         repeated(tick(), 17)}, // round twice
        {"stopping freezes both animations, starting again restarts at the first character",
         repeated(tick(), 5) + std::vector{option(stop), tick(), tick(), choose(messages, 2),
                                           choose(lengths, 0), option(start), tick(), tick()}},
        {"arrow keys choose rows and options",
         std::vector{key(Key::Tab), key(Key::Tab), key(Key::Down), tick(), key(Key::Tab),
                     key(Key::Down), tick(), key(Key::Tab), key(Key::Down), tick(), key(Key::Up),
                     tick()},
         noKeyboard, "no keyboard"},
        {"Tab walks the design's order with one stop for the options",
         repeated(key(Key::Tab), 4) + std::vector{key(Key::BackTab), key(Key::BackTab)} +
             std::vector{option(stop), key(Key::BackTab), key(Key::Tab)},
         noKeyboard, "no keyboard"},
        {"Tab from the last control goes round to the first, and Shift+Tab back",
         repeated(key(Key::Tab), 6) + std::vector{key(Key::BackTab), key(Key::BackTab)},
         {Platform::Memory, Platform::Page},
         "no keyboard in memory; a page lets Tab leave it for the browser's own controls"},
        {"a ListIndex write raises Click inside the write, and none for the chosen row",
         std::vector{write(Action::WriteListIndex, lengths, 4),
                     write(Action::WriteListIndex, lengths, 4), tick(),
                     write(Action::WriteListIndex, messages, 2),
                     write(Action::WriteListIndex, messages, 2), tick()}},
        {"a list box shows its chosen row",
         std::vector{write(Action::WriteListIndex, lengths, 4),
                     write(Action::WriteListIndex, lengths, 0), choose(lengths, 3),
                     write(Action::WriteListIndex, messages, 2),
                     write(Action::WriteListIndex, messages, 0)}},
        {"the contract's own errors change nothing",
         std::vector{write(Action::WriteListIndex, lengths, 5, invalid),
                     write(Action::WriteListIndex, messages, -2, invalid),
                     write(Action::WriteDrawWidth, lamp(0), 0, invalid),
                     write(Action::WriteVisible, Picture1(8), 1, absent),
                     write(Action::WriteListIndex, List1(2), 0, absent),
                     write(Action::WriteDrawWidth, lengths, 10, absent), tick()}},
        {"AutoRedraw keeps a drawing through a hide, and only AutoRedraw",
         std::vector{write(Action::WriteVisible, lamp(3), 1),
                     {.action = Action::WritePSet, .control = lamp(3), .colour = 0xFF0000},
                     write(Action::WriteVisible, lamp(3), 0),
                     write(Action::WriteVisible, lamp(3), 1),
                     write(Action::WriteAutoRedraw, lamp(3), 0),
                     write(Action::WriteVisible, lamp(3), 0),
                     write(Action::WriteVisible, lamp(3), 1),
                     // The dot drawn last, drawn again: it must show, the hide having lost it.
                     {.action = Action::WritePSet, .control = lamp(3), .colour = 0xFF0000}}},
        {"a run-time error reports, stops the timers and ends the program",
         std::vector{tick(), {.action = Action::FailNextEvent}, tick(), tick(), tick(), close()}},
        {"closing ends with status 0", std::vector{tick(), tick(), close()}},
    };
}

} // namespace

std::span<const TextView> rows(ControlId list) {
    return controlDesign(list, ControlKind::ListBox).rows;
}

Step tick() {
    return {.action = Action::Tick};
}
Step choose(ControlId list, std::int16_t row) {
    return {.action = Action::ChooseRow, .control = list, .value = row};
}
Step option(ControlId id) {
    return {.action = Action::ClickOption, .control = id};
}
Step key(Key which) {
    return {.action = Action::Key, .key = which};
}

ControlId lamp(std::size_t n) {
    return (n < lampCount / 2 ? Picture1
                              : Picture2)(static_cast<std::int16_t>(n % (lampCount / 2)));
}

std::vector<std::string_view> timers() {
    std::vector<std::string_view> names;
    for (const ControlDesign& design : controlDesigns()) {
        if (design.kind == ControlKind::Timer) {
            names.push_back(design.name);
        }
    }
    return names;
}

std::chrono::milliseconds tickInterval() {
    return std::chrono::milliseconds(
        controlDesign({timers().front()}, ControlKind::Timer).intervalMs);
}

DotPosition lampDot() {
    const TwipRect& bounds = controlDesign(lamp(0), ControlKind::PictureBox).bounds;
    return {static_cast<float>(bounds.width) / 4,
            static_cast<float>(toInteger(bounds.height / 4.0))};
}

std::string reportName(const Scenario& scenario) {
    std::string name;
    for (const char c : scenario.name) {
        const bool word =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (word) {
            name += c;
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') {
        name.pop_back();
    }
    return name;
}

const std::vector<Scenario>& windowScenarios() {
    static const std::vector<Scenario> table = buildScenarios();
    return table;
}

bool skipped(const Scenario& scenario, Platform platform) {
    return std::find(scenario.skippedOn.begin(), scenario.skippedOn.end(), platform) !=
           scenario.skippedOn.end();
}

} // namespace lumora::scenarios
