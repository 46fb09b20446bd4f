#include "random_input.h"

#include "integer_arithmetic.h"

#include <cstdio>
#include <cstdlib>
#include <random>

namespace lumora::scenarios {

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
        std::string names;
        for (const std::size_t n : lit) {
            names += " " + controlName(lamp(n));
        }
        return "lit:" + names;
    }
    return {};
}

unsigned randomSeed() {
    const char* given = std::getenv("LUMORA_SEED");
    const unsigned seed = given != nullptr ? static_cast<unsigned>(std::strtoul(given, nullptr, 10))
                                           : std::random_device{}();
    std::printf("seed %u (LUMORA_SEED=%u repeats this run)\n", seed, seed);
    return seed;
}

std::string actOutRandomInput(RandomInputDriver& driver, unsigned seed,
                              std::chrono::seconds limit) {
    const auto loaded = driver.outerSize();
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::size_t n = 0;
    for (const RandomStep& random : randomSteps(seed, 5000, true)) {
        if (std::chrono::steady_clock::now() > deadline) {
            break;
        }
        if (random.point) {
            driver.clickAt(random.point->first, random.point->second, random.rightButton,
                           random.doubleClick);
        } else {
            driver.perform(random.step);
        }
        ++n;
        const std::string where = "step " + std::to_string(n) + ": ";
        if (const std::string broken = invariantBroken(driver.observe()); !broken.empty()) {
            return where + broken;
        }
        if (driver.outerSize() != loaded) {
            return where + "the window changed its size";
        }
    }
    std::printf("%zu steps\n", n);
    driver.perform({.action = Action::Close});
    const std::optional<int> status = driver.observe().exitStatus;
    return status == 0 ? std::string()
                       : "closing ended with status " + std::to_string(status.value_or(-1));
}

} // namespace lumora::scenarios
