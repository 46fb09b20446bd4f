#pragma once

// Seeded random input for a window on screen: ticks, choices, keys and clicks at any point, with
// what must hold after any step whatever. One loop acts it out on every desktop screen; the page's
// driver takes the same steps and check through its binding.

#include "scenario_runner.h"

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace lumora::scenarios {

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

// The seed LUMORA_SEED gives, to repeat a run, or a new one; says which.
unsigned randomSeed();

// A window on screen that also takes clicks anywhere, and has an outer size to keep.
class RandomInputDriver : public WindowDriver {
public:
    // A click at (x, y) twips from the window's inner top-left corner.
    virtual void clickAt(int x, int y, bool rightButton, bool doubleClick) = 0;
    virtual std::pair<int, int> outerSize() const = 0;
};

// Acts out random steps from `seed` on `driver` for at most `limit`, then closes the window. Empty
// when the window stayed sound (the invariant held and the size stayed) and closed with status 0;
// else what broke, at which step.
std::string actOutRandomInput(RandomInputDriver& driver, unsigned seed, std::chrono::seconds limit);

// What the program holds on a screen, by name: its heap, its windows, its handles.
using Holdings = std::map<std::string, long long>;

// A week of the billboard: 3,024,000 ticks, with a random step after every thousand (then the
// start option, so that the billboard runs on); a screen that cannot tick so fast does as many as
// fit in `limit`. What the program holds is read, by `held`, every thousand ticks from the second
// round of sixteen random steps on (at least one reading, past `limit` if need be). Empty when the
// invariant held at every step and nothing held grew for good; else what broke, or what grew.
// Prints the ticks done and what was held.
std::string actOutWeek(WindowDriver& driver, const std::function<Holdings()>& held, unsigned seed,
                       bool withKeys, std::chrono::seconds limit);

// Over readings taken in turn, `names.size()` values each, `ticks` apart in all: what grew for
// good, named, or empty. Prints each name's first and last readings.
std::string grewForGood(const std::vector<std::string>& names,
                        const std::vector<long long>& readings, long ticks);

} // namespace lumora::scenarios
