#include "billboard_model.h"

#include "integer_arithmetic.h"
#include "screen_layout.h"

#include <algorithm>

namespace lumora::scenarios {
namespace {

ControlId holder(std::size_t k) {
    return Picture3(static_cast<std::int16_t>(k));
}

std::size_t lampNumber(ControlId id) {
    return (id.name == Picture1.name ? 0 : lampCount / 2) + static_cast<std::size_t>(id.index);
}

Colour background(ControlId id) {
    return controlDesign(id, ControlKind::PictureBox)
        .background.value_or(windowDesign().background);
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

} // namespace

Text doubled(TextView message) {
    return join(join(message, U" "), message);
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

} // namespace lumora::scenarios
