// The window's promises on the in-memory toolkit: the scenario table, step by step.

#include "memory_toolkit.h"
#include "scenario_runner.h"

#include "allocation_count.h"
#include "random_input.h"

#include <gtest/gtest.h>

namespace lumora::scenarios {

// Reports name a scenario by its words, not its bytes.
void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

namespace {

class MemoryDriver final : public WindowDriver {
public:
    MemoryDriver() { ui_.load(handlers_); }

    Toolkit& toolkit() override { return ui_; }

    void act(const Step& step) override {
        const ControlId id = step.control;
        switch (step.action) {
        case Action::Tick:
            try {
                for (const std::string_view timer : timers()) {
                    ui_.tick({timer});
                }
            } catch (const RuntimeError&) {
                // The program has ended, and the toolkit hands the error on to its caller.
            }
            break;
        case Action::ChooseRow:
            ui_.chooseRow(id, step.value);
            break;
        case Action::ClickOption:
            ui_.clickOption(id);
            break;
        case Action::FailNextEvent:
            handlers_.failNextEvent();
            break;
        case Action::Close:
            exitStatus_ = ui_.showAndDeliverEvents();
            break;
        case Action::Key:
            FAIL() << "the in-memory toolkit has no keyboard";
        default:
            break;
        }
    }

    WindowState observe() override {
        WindowState state;
        state.ticker = ui_.text(Text2(0));
        state.lengthRow = ui_.listIndex(List1(0));
        state.messageRow = ui_.listIndex(List1(1));
        for (const std::int16_t option : {0, 1}) {
            if (ui_.isSelected(Option1(option))) {
                state.chosenOption = option;
            }
        }
        for (std::size_t n = 0; n < lampCount; ++n) {
            if (ui_.isVisible(lamp(n))) {
                const std::vector<memory::Dot>& dots = ui_.dots(lamp(n));
                state.lamps[n] = dots.empty() ? ui_.backColor(lamp(n)) : dots.back().colour;
            }
        }
        state.tickerTimerRuns = ui_.enabled(Timer1);
        state.lampTimerRuns = ui_.enabled(Timer2);
        state.clicks = handlers_.takeClicks();
        state.exitStatus = exitStatus_;
        ui_.clearWrites(); // the toolkit's record for other tests, which would grow for good
        return state;
    }

private:
    memory::MemoryToolkit ui_;
    RecordingHandlers handlers_{ui_};
    std::optional<int> exitStatus_;
};

class WindowScenario : public testing::TestWithParam<Scenario> {};

TEST_P(WindowScenario, Holds) {
    if (skipped(GetParam(), Platform::Memory)) {
        GTEST_SKIP() << GetParam().whySkipped;
    }
    MemoryDriver driver;
    for (const std::string& failure : run(driver, GetParam())) {
        ADD_FAILURE() << failure;
    }
}

// A week of ticks with the user's choices sprinkled in: the window keeps no more allocations.
TEST(Week, HoldsNoMoreAtItsEnd) {
    MemoryDriver driver;
    const auto held = [] {
        return Holdings{{"allocations", liveAllocations()}, {"bytes", liveAllocationBytes()}};
    };
    EXPECT_EQ(actOutWeek(driver, held, randomSeed(), false, std::chrono::seconds(30)), "");
}

INSTANTIATE_TEST_SUITE_P(memory, WindowScenario, testing::ValuesIn(windowScenarios()),
                         [](const auto& info) { return reportName(info.param); });

} // namespace
} // namespace lumora::scenarios
