// The Lumora page for the scenario table: the window's own handlers, recording every Click, on a
// clock that the test steps. Its steps and readings are bound to JavaScript on the page's Module.

#include "allocation_count.h"
#include "random_input.h"
#include "scenario_json.h"
#include "web_toolkit.h"

#include <emscripten/bind.h>
#include <emscripten/heap.h>
#include <malloc.h>

namespace {

using namespace lumora;
using namespace lumora::scenarios;
using emscripten::val;

TimerGroup::Duration now{};
web::WebToolkit& toolkit() {
    static web::WebToolkit ui([] { return now; });
    return ui;
}
RecordingHandlers& handlers() {
    static RecordingHandlers recording(toolkit());
    return recording;
}

// One interval passes, and the timers' timeout goes off.
void stepClock() {
    now += tickInterval();
    toolkit().wakeTimers();
}

// A program write: the number of the run-time error it raised, or 0.
int write(int action, const std::string& name, int index, int value, int colour) {
    static std::vector<std::string> names; // a ControlId holds a view of its name
    names.push_back(name);
    const Step step{.action = static_cast<Action>(action),
                    .control = {names.back(), static_cast<std::int16_t>(index)},
                    .value = static_cast<std::int16_t>(value),
                    .colour = static_cast<Colour>(colour)};
    try {
        performWrite(toolkit(), step);
        return 0;
    } catch (const RuntimeError& error) {
        return static_cast<int>(error.number());
    }
}

val takeClicks() {
    val clicks = val::array();
    for (const std::string& click : handlers().takeClicks()) {
        clicks.call<void>("push", click);
    }
    return clicks;
}

bool timerRuns(const std::string& name) {
    return toolkit().enabled({name});
}

int close() {
    return toolkit().showAndDeliverEvents();
}

// What must hold after any step, of the ticker's text and the lamps lit; empty when it holds.
std::string brokenInvariant(const std::wstring& ticker, val lit) {
    WindowState state;
    state.ticker = Text(ticker.begin(), ticker.end());
    for (std::size_t n = 0; n < lampCount; ++n) {
        if (lit[n].as<bool>()) {
            state.lamps[n] = 0;
        }
    }
    return invariantBroken(state);
}

// What the program holds in its WebAssembly: its allocations, the heap in use, and the memory it
// has.
val held() {
    val holdings = val::object();
    holdings.set("heap blocks", static_cast<double>(liveAllocations()));
    holdings.set("heap bytes", static_cast<double>(mallinfo().uordblks));
    holdings.set("memory bytes", static_cast<double>(emscripten_get_heap_size()));
    return holdings;
}

std::string grewForGoodInPage(const val& names, const val& readings, double ticks) {
    const auto values = emscripten::vecFromJSArray<double>(readings);
    return grewForGood(emscripten::vecFromJSArray<std::string>(names),
                       std::vector<long long>(values.begin(), values.end()),
                       static_cast<long>(ticks));
}

} // namespace

EMSCRIPTEN_BINDINGS(lumora_scenarios) {
    emscripten::function("tick", &stepClock);
    emscripten::function("write", &write);
    emscripten::function(
        "failNextEvent", +[] { handlers().failNextEvent(); });
    emscripten::function("takeClicks", &takeClicks);
    emscripten::function("timerRuns", &timerRuns);
    emscripten::function("close", &close);
    emscripten::function(
        "randomSteps", +[](unsigned seed, unsigned count) { return randomStepsJson(seed, count); });
    emscripten::function("brokenInvariant", &brokenInvariant);
    emscripten::function("held", &held);
    emscripten::function("grewForGood", &grewForGoodInPage);
}

int main() {
    toolkit().load(handlers());
    return toolkit().showAndDeliverEvents();
}
