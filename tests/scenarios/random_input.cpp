#include "random_input.h"

#include "integer_arithmetic.h"

#include <algorithm>
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

std::string actOutWeek(WindowDriver& driver, const std::function<Holdings()>& held, unsigned seed,
                       bool withKeys, std::chrono::seconds limit) {
    constexpr long week = 7L * 24 * 60 * 60 * 1000 / 200;
    constexpr long every = 1'000;
    // The steps come round again every sixteen thousand ticks, and with them what the screen's
    // caches keep, rising and falling: a quarter of a run of 64 readings or more holds a whole
    // round.
    constexpr std::size_t round = 16;
    std::vector<Step> sprinkled;
    for (const RandomStep& random : randomSteps(seed, 500, withKeys)) {
        if (!random.point && random.step.action != Action::Tick && sprinkled.size() < round) {
            sprinkled.push_back(random.step);
        }
    }
    // Every message at every length first, for a whole cycle: what the window holds for the
    // longest is kept for the next, as a string keeps its capacity.
    for (std::size_t message = 0; message < rows(messages).size(); ++message) {
        for (std::size_t length = 0; length < rows(lengths).size(); ++length) {
            driver.perform(choose(messages, static_cast<std::int16_t>(message)));
            driver.perform(choose(lengths, static_cast<std::int16_t>(length)));
            for (std::size_t n = 0; n <= rows(messages)[message].size(); ++n) {
                driver.perform(tick());
            }
        }
    }
    // A reading every thousand ticks, in one state (the first rows chosen, and running a while:
    // a longer message takes more memory), into room made before the first, so that keeping the
    // readings takes the same memory at every reading.
    std::vector<std::string> names;
    for (const auto& [name, value] : held()) {
        names.push_back(name);
    }
    std::vector<long long> readings;
    readings.reserve(static_cast<std::size_t>(week / every) * names.size());
    const auto read = [&] {
        for (const Step& step : {choose(lengths, 0), choose(messages, 0), option(start)}) {
            driver.perform(step);
        }
        for (int n = 0; n < 100; ++n) {
            driver.perform(tick());
        }
        driver.observe();
        for (const auto& [name, value] : held()) {
            readings.push_back(value);
        }
    };
    const auto began = std::chrono::steady_clock::now();
    long n = 0;
    for (; n < week; ++n) {
        if (n > 0 && n % every == 0) {
            if (const std::string broken = invariantBroken(driver.observe()); !broken.empty()) {
                return "tick " + std::to_string(n) + ": " + broken;
            }
            // The screen's caches fill on the first round: the readings begin with the second.
            if (n > static_cast<long>(round) * every) {
                read();
                if (std::chrono::steady_clock::now() - began > limit) {
                    break;
                }
            }
            driver.perform(sprinkled[static_cast<std::size_t>(n / every) % sprinkled.size()]);
            driver.perform(option(start));
        }
        driver.perform(tick());
    }
    std::printf("%ld ticks in %.1f s\n", n,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count());
    return grewForGood(names, readings, n);
}

std::string grewForGood(const std::vector<std::string>& names,
                        const std::vector<long long>& readings, long ticks) {
    // What grows for good lifts every reading of the last quarter over all of the first; what
    // a screen keeps and frees by turns (Qt's heap, by up to 330 KB) does not.
    const std::size_t count = readings.size() / names.size();
    const std::size_t quarter = std::max<std::size_t>(count / 4, 1);
    std::string grew;
    for (std::size_t column = 0; column < names.size(); ++column) {
        const auto at = [&](std::size_t reading) {
            return readings[reading * names.size() + column];
        };
        long long firstMost = at(0);
        long long lastLeast = at(count - 1);
        for (std::size_t reading = 0; reading < quarter; ++reading) {
            firstMost = std::max(firstMost, at(reading));
            lastLeast = std::min(lastLeast, at(count - 1 - reading));
        }
        std::printf("%s: %lld at the first reading, %lld at the last of %zu; the most of the first "
                    "quarter %lld, the least of the last %lld\n",
                    names[column].c_str(), at(0), at(count - 1), count, firstMost, lastLeast);
        if (lastLeast > firstMost) {
            grew += " " + names[column] + " from at most " + std::to_string(firstMost) +
                    " to at least " + std::to_string(lastLeast);
        }
    }
    return grew.empty() ? std::string()
                        : "after " + std::to_string(ticks) + " ticks, more held:" + grew;
}

} // namespace lumora::scenarios
