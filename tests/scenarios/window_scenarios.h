#pragma once

// What the window promises, once for every platform: a table of scenarios, each a list of steps
// (the clock, the user, the program) with what must hold after each step, and a model of the
// billboard that computes what must hold from the design table and the messages. Each platform's
// tests run the table through a driver that acts on its own window as a user does there and
// reads back what that window shows.

#include "lumora.h"
#include "runtime_error.h"
#include "toolkit.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

enum class Platform { Memory, Qt, Win32, Page };

struct Scenario {
    std::string_view name;
    std::vector<Step> steps;
    // Platforms that cannot take a step of this scenario, and why.
    std::vector<Platform> skippedOn{};
    std::string_view whySkipped{};
};

const std::vector<Scenario>& windowScenarios();

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
    // Performs the step; a program write that fails throws its RuntimeError.
    virtual void perform(const Step& step) = 0;
    virtual WindowState observe() = 0;
};

// Runs a scenario on a new window; returns what differed from the model, step by step.
std::vector<std::string> run(WindowDriver& driver, const Scenario& scenario);

// A name for test reports: the scenario's words, joined by underscores.
std::string reportName(const Scenario& scenario);

// Seeded random steps for a window: ticks, choices, keys and clicks at any point.
struct RandomStep {
    Step step;
    // For a click at a point: where, in twips from the window's inner top-left corner, and how.
    std::optional<std::pair<int, int>> point;
    bool rightButton = false;
    bool doubleClick = false;
};
std::vector<RandomStep> randomSteps(unsigned seed, std::size_t count, bool withKeys);

// What must hold after any step whatever: the ticker shows a slice of a shipped message at a
// shipped length, and no lamp or exactly one opposite pair is lit. Empty when it holds.
std::string invariantBroken(const WindowState& state);

bool skipped(const Scenario& scenario, Platform platform);

} // namespace lumora::scenarios
