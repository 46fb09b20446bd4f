#pragma once

// What the window promises, once for every platform: a table of scenarios, each a list of steps
// (the clock, the user, the program). Each platform's tests run the table through a driver that
// acts on its own window as a user does there (scenario_runner.h).

#include "runtime_error.h"
#include "window_design.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::scenarios {

enum class Action {
    Tick,            // the clock: one interval passes, and each running timer ticks
    ChooseRow,       // the user clicks row `value` of a list
    ClickOption,     // the user clicks an option button
    Key,             // the user presses `key` where the focus is
    WriteListIndex,  // the program writes ListIndex = `value`
    WriteDrawWidth,  // the program writes DrawWidth = `value`
    WriteVisible,    // the program shows (`value` 1) or hides (0) a picture box
    WriteAutoRedraw, // the program sets AutoRedraw to `value`
    WritePSet,       // the program draws a dot of colour `colour` where the lamps draw theirs
    FailNextEvent,   // the next event the handlers receive fails with division by zero
    Close,           // the user closes the window
};

enum class Key { Down, Up, Tab, BackTab };

struct Step {
    Action action{};
    ControlId control{};
    std::int16_t value = 0;
    Key key{};
    Colour colour = 0;
    // A program write that must fail with this run-time error and change nothing.
    std::optional<RuntimeError::Number> fails{};
};

// The design's timers, in the order a tick of the clock ticks them, asking each in turn (a tick
// may stop the others), and the interval they share.
std::vector<std::string_view> timers();
std::chrono::milliseconds tickInterval();

// The sixteen lamps, upper arc first: Picture1(0..7), then Picture2(0..7).
inline constexpr std::size_t lampCount = 16;
ControlId lamp(std::size_t n);
// Where the lamps draw their dot, twips from a lamp's inner top-left corner.
struct DotPosition {
    float x = 0;
    float y = 0;
};
DotPosition lampDot();

// The two lists: the visible lengths and the messages.
inline constexpr ControlId lengths = List1(0);
inline constexpr ControlId messages = List1(1);
inline constexpr ControlId start = Option1(0);
inline constexpr ControlId stop = Option1(1);
std::span<const TextView> rows(ControlId list);

// Steps, as the table and the random input make them.
Step tick();
Step choose(ControlId list, std::int16_t row);
Step option(ControlId id);
Step key(Key which);

enum class Platform { Memory, Qt, Win32, Page };

struct Scenario {
    std::string_view name;
    std::vector<Step> steps;
    // Platforms that cannot take a step of this scenario, and why.
    std::vector<Platform> skippedOn{};
    std::string_view whySkipped{};
};

const std::vector<Scenario>& windowScenarios();
bool skipped(const Scenario& scenario, Platform platform);

// A name for test reports: the scenario's words, joined by underscores.
std::string reportName(const Scenario& scenario);

} // namespace lumora::scenarios
