#pragma once

// The billboard as the design and the messages say it behaves, from its loaded state: what a
// window must show after each step of a scenario.

#include "scenario_table.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lumora::scenarios {

// What a window shows after a step. A driver leaves unset what its platform cannot show.
struct WindowState {
    Text ticker;
    std::int16_t lengthRow = -1;
    std::int16_t messageRow = -1;
    std::int16_t chosenOption = -1;
    // Per lamp: unset while hidden; else the colour at the centre of the lamps' dot.
    std::array<std::optional<Colour>, lampCount> lamps{};
    bool tickerTimerRuns = false;
    bool lampTimerRuns = false;
    // Clicks the handlers received during the step, as "List1(0)".
    std::vector<std::string> clicks;
    std::optional<std::string> focus;
    std::optional<bool> chosenRowsInView;
    // Once the window is closed, or a run-time error has ended the program.
    std::optional<int> exitStatus;
};

// The billboard as the design and the messages say it behaves, from its loaded state.
class BillboardModel {
public:
    BillboardModel();
    void apply(const Step& step);
    const WindowState& state() const { return state_; }

private:
    void chooseRow(std::int16_t list, std::int16_t row);
    void chooseOption(std::int16_t option);
    void rewind();
    void tick(std::string_view timer);
    void show(std::size_t lamp, bool visible);
    void click(ControlId id);
    void moveFocus(int by);

    WindowState state_;
    std::array<bool, lampCount> autoRedraw_{};
    std::array<std::optional<Colour>, lampCount> drawn_{};
    std::array<bool, lampCount> visible_{};
    double visibleLength_ = 0;
    std::int16_t tickerPos_ = 0;
    std::int16_t lampStep_ = 0;
    bool failNext_ = false;
    bool ended_ = false;
};

// The message twice, a space between: what the ticker slides along.
Text doubled(TextView message);

} // namespace lumora::scenarios
