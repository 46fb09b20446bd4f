#include "window_scenarios.h"

#include "integer_arithmetic.h"
#include "screen_layout.h"
#include "window_design.h"

#include <algorithm>
#include <random>

namespace lumora::scenarios {
namespace {

constexpr ControlId lengths{List1(0)};
constexpr ControlId messages{List1(1)};
constexpr ControlId start{Option1(0)};
constexpr ControlId stop{Option1(1)};

ControlId holder(std::size_t k) {
    return Picture3(static_cast<std::int16_t>(k));
}

std::span<const TextView> rows(ControlId list) {
    return controlDesign(list, ControlKind::ListBox).rows;
}

Text doubled(TextView message) {
    return join(join(message, U" "), message);
}

std::size_t lampNumber(ControlId id) {
    return (id.name == Picture1.name ? 0 : lampCount / 2) + static_cast<std::size_t>(id.index);
}

Colour background(ControlId id) {
    return controlDesign(id, ControlKind::PictureBox)
        .background.value_or(windowDesign().background);
}

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

// Where the keyboard focus stops: the focus order, less hidden controls and the option buttons
// of the frame that are not chosen (the group is one stop, on its chosen button).
std::vector<std::string> focusStops(std::int16_t chosenOption) {
    std::vector<std::string> stops;
    for (const std::size_t position : focusOrder()) {
        const ControlDesign& design = controlDesigns()[position];
        if (!design.visible ||
            (design.kind == ControlKind::OptionButton && design.index != chosenOption)) {
            continue;
        }
        stops.push_back(controlName({design.name, design.index}));
    }
    return stops;
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

BillboardModel::BillboardModel() {
    autoRedraw_.fill(true);
    chooseOption(0);
    chooseRow(0, 2);
    chooseRow(1, 0);
    state_.ticker = prefix(rows(messages)[0], static_cast<std::int32_t>(visibleLength_));
    state_.focus = focusStops(state_.chosenOption).front();
    state_.chosenRowsInView = true;
}

void BillboardModel::click(ControlId id) {
    if (failNext_) {
        failNext_ = false;
        ended_ = true;
        state_.tickerTimerRuns = state_.lampTimerRuns = false;
        return;
    }
    state_.clicks.push_back(controlName(id));
    if (id.name == List1.name && id.index == 0) {
        rewind();
    } else if (id.name == Option1.name) {
        if (id.index == 0) {
            rewind();
        }
        state_.tickerTimerRuns = state_.lampTimerRuns = id.index == 0;
    }
}

void BillboardModel::rewind() {
    visibleLength_ = state_.lengthRow < 0 ? 0 : numericValue(rows(lengths)[state_.lengthRow]);
    tickerPos_ = 0;
}

void BillboardModel::chooseRow(std::int16_t list, std::int16_t row) {
    std::int16_t& chosen = list == 0 ? state_.lengthRow : state_.messageRow;
    if (chosen == row) {
        return;
    }
    chosen = row;
    click(List1(list));
}

void BillboardModel::chooseOption(std::int16_t option) {
    if (state_.chosenOption == option) {
        return;
    }
    state_.chosenOption = option;
    click(Option1(option));
}

void BillboardModel::show(std::size_t n, bool visible) {
    visible_[n] = visible;
    if (!visible && !autoRedraw_[n]) {
        drawn_[n].reset();
    }
}

void BillboardModel::tick(std::string_view timer) {
    if (failNext_ && (timer == Timer1.name ? state_.tickerTimerRuns : state_.lampTimerRuns)) {
        failNext_ = false;
        ended_ = true;
        state_.tickerTimerRuns = state_.lampTimerRuns = false;
        return;
    }
    if (timer == Timer1.name && state_.tickerTimerRuns) {
        const Text message(rows(messages)[state_.messageRow]);
        const auto length = static_cast<std::int16_t>(message.size());
        tickerPos_ = static_cast<std::int16_t>((tickerPos_ + 1) % length);
        tickerPos_ = std::max<std::int16_t>(tickerPos_, 1);
        state_.ticker =
            substring(doubled(message), tickerPos_, static_cast<std::int32_t>(visibleLength_));
    } else if (timer == Timer2.name && state_.lampTimerRuns) {
        const auto pairs = lampCount / 2;
        show(static_cast<std::size_t>(lampStep_), false);
        show(static_cast<std::size_t>(lampStep_) + pairs, false);
        lampStep_ = static_cast<std::int16_t>((lampStep_ + 1) % pairs);
        const auto k = static_cast<std::size_t>(lampStep_);
        show(k, true);
        drawn_[k] = background(holder(k));
        show(k + pairs, true);
        drawn_[k + pairs] = background(holder(pairs - 1 - k));
    }
}

void BillboardModel::moveFocus(int by) {
    const std::vector<std::string> stops = focusStops(state_.chosenOption);
    const auto at = std::find(stops.begin(), stops.end(), *state_.focus) - stops.begin();
    const auto count = static_cast<long>(stops.size());
    state_.focus = stops[static_cast<std::size_t>(((at + by) % count + count) % count)];
}

void BillboardModel::apply(const Step& step) {
    state_.clicks.clear();
    if (step.fails) {
        return; // a failed write changes nothing
    }
    const bool running = !ended_;
    switch (step.action) {
    case Action::Tick:
        for (const std::string_view timer : timers()) {
            if (running) {
                tick(timer);
            }
        }
        break;
    case Action::ChooseRow:
        if (running) {
            chooseRow(step.control.index, step.value);
            state_.focus = controlName(step.control); // a click focuses what it chooses
        }
        break;
    case Action::ClickOption:
        if (running) {
            chooseOption(step.control.index);
            state_.focus = controlName(step.control);
        }
        break;
    case Action::Key: {
        const std::string& focus = *state_.focus;
        const int by = step.key == Key::Down ? 1 : -1;
        if (step.key == Key::Tab || step.key == Key::BackTab) {
            moveFocus(step.key == Key::Tab ? 1 : -1);
        } else if (focus.starts_with(List1.name)) {
            const auto list = static_cast<std::int16_t>(focus[6] - '0');
            const std::int16_t& row = list == 0 ? state_.lengthRow : state_.messageRow;
            const auto last = static_cast<int>(rows(List1(list)).size()) - 1;
            chooseRow(list, static_cast<std::int16_t>(std::clamp(row + by, 0, last)));
        } else if (focus.starts_with(Option1.name)) {
            const auto next = static_cast<std::int16_t>(std::clamp(state_.chosenOption + by, 0, 1));
            chooseOption(next);
            state_.focus = controlName(Option1(next));
        }
        break;
    }
    case Action::WriteListIndex:
        chooseRow(step.control.index, step.value);
        break;
    case Action::WriteVisible:
        show(lampNumber(step.control), step.value != 0);
        break;
    case Action::WriteAutoRedraw:
        autoRedraw_[lampNumber(step.control)] = step.value != 0;
        break;
    case Action::WritePSet:
        drawn_[lampNumber(step.control)] = step.colour;
        break;
    case Action::WriteDrawWidth:
        break;
    case Action::FailNextEvent:
        failNext_ = true;
        break;
    case Action::Close:
        state_.exitStatus = ended_ ? runtimeErrorStatus : 0;
        break;
    }
    for (std::size_t n = 0; n < lampCount; ++n) {
        state_.lamps[n] =
            visible_[n] ? std::optional(drawn_[n].value_or(background(lamp(n)))) : std::nullopt;
    }
}

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

std::vector<RandomStep> randomSteps(unsigned seed, std::size_t count, bool withKeys) {
    std::mt19937 random(seed);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const WindowDesign& window = windowDesign();
    std::vector<RandomStep> steps;
    while (steps.size() < count) {
        RandomStep next;
        switch (below(withKeys ? 6 : 4)) {
        case 0:
        case 1:
            next.step = tick();
            break;
        case 2: {
            const ControlId list{List1(static_cast<std::int16_t>(below(2)))};
            next.step =
                choose(list, static_cast<std::int16_t>(below(static_cast<int>(rows(list).size()))));
            break;
        }
        case 3:
            next.step = option(Option1(static_cast<std::int16_t>(below(2))));
            break;
        case 4:
            next.step = key(static_cast<Key>(below(4)));
            break;
        default:
            next.step = {.action = Action::ClickOption}; // the point decides what is clicked
            next.point = {below(window.innerWidth), below(window.innerHeight)};
            next.rightButton = below(4) == 0;
            next.doubleClick = below(4) == 0;
            break;
        }
        steps.push_back(next);
    }
    return steps;
}

std::string invariantBroken(const WindowState& state) {
    bool slice = false;
    for (const TextView message : rows(messages)) {
        for (const TextView length : rows(lengths)) {
            const Text twice = doubled(message);
            const auto n = static_cast<std::size_t>(numericValue(length));
            for (std::size_t at = 0; at < message.size() && !slice; ++at) {
                slice = state.ticker == twice.substr(at, n);
            }
        }
    }
    if (!slice) {
        return "the ticker shows '" + toUtf8(state.ticker) + "'";
    }
    std::vector<std::size_t> lit;
    for (std::size_t n = 0; n < lampCount; ++n) {
        if (state.lamps[n]) {
            lit.push_back(n);
        }
    }
    if (!lit.empty() && (lit.size() != 2 || lit[1] != lit[0] + lampCount / 2)) {
        std::vector<std::string> names;
        for (const std::size_t n : lit) {
            names.push_back(controlName(lamp(n)));
        }
        return "lit: " + joined(names);
    }
    return {};
}

bool skipped(const Scenario& scenario, Platform platform) {
    return std::find(scenario.skippedOn.begin(), scenario.skippedOn.end(), platform) !=
           scenario.skippedOn.end();
}

} // namespace lumora::scenarios
