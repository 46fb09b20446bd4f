// Timers scheduled against deadlines, on a simulated clock that steps like Windows' default
// timer resolution: a timer armed for d ms goes off at the first clock step at or after d ms.

#include "tick_schedule.h"
#include "timer_group.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using Duration = TickSchedule::Duration;

constexpr Duration step = 15625us; // 64 steps a second
constexpr Duration interval = 200ms;

// When a platform timer armed at `armed` for `delay` (whole milliseconds, as SetTimer takes
// them) goes off on the stepping clock.
Duration goesOff(Duration armed, Duration delay) {
    const Duration due = armed + std::chrono::ceil<std::chrono::milliseconds>(delay);
    return (due + step - 1ns) / step * step;
}

// The times of `count` ticks, starting at 0, each handler taking `work`.
std::vector<double> ticks(int count, Duration work) {
    TickSchedule schedule(interval, 0ns);
    std::vector<double> times;
    Duration now = 0ns;
    while (static_cast<int>(times.size()) < count) {
        now = goesOff(now, schedule.delay(now));
        if (schedule.fire(now)) {
            times.push_back(std::chrono::duration<double, std::milli>(now).count());
            now += work;
        }
    }
    return times;
}

// Slope of the lateness of tick n against n, over the whole run, in ms: a drift adds up, a
// late tick now and then does not.
double drift(const std::vector<double>& times) {
    const double n = static_cast<double>(times.size());
    double sumX = 0, sumY = 0, sumXY = 0, sumXX = 0;
    for (std::size_t i = 0; i < times.size(); ++i) {
        const double x = static_cast<double>(i);
        const double lateness = times[i] - (x + 1) * 200.0;
        sumX += x;
        sumY += lateness;
        sumXY += x * lateness;
        sumXX += x * x;
    }
    return (n * sumXY - sumX * sumY) / (n * sumXX - sumX * sumX) * n;
}

TEST(TickSchedule, AveragesItsIntervalOnACoarseClock) {
    for (const Duration work : {0ns, Duration(3ms), Duration(40ms)}) {
        const std::vector<double> times = ticks(301, work);
        const double meanPeriod = (times.back() - times.front()) / 300.0;
        EXPECT_NEAR(meanPeriod, 200.0, 0.5);
        EXPECT_LE(std::abs(drift(times)), 5.0);
        for (std::size_t i = 0; i < times.size(); ++i) {
            const double lateness = times[i] - static_cast<double>(i + 1) * 200.0;
            EXPECT_GE(lateness, 0.0);
            EXPECT_LT(lateness, 16.0 + 1.0) << "tick " << i; // never more than a clock step
        }
    }
}

// Re-armed with the whole interval every time, the same timer falls behind by what is left of a
// clock step at every tick: what the deadlines are for.
TEST(TickSchedule, PlainRearmingWouldDrift) {
    Duration now = 0ns;
    for (int i = 0; i < 300; ++i) {
        now = goesOff(now, interval);
    }
    EXPECT_GT(now - 300 * interval, 500ms); // 3.1 ms a tick here
}

TEST(TickSchedule, AfterAHoldUpResumesWithoutABurst) {
    TickSchedule schedule(interval, 0ns);
    EXPECT_TRUE(schedule.fire(200ms));
    // Held up for ten seconds (a suspended machine, a frozen page): one tick, then the rhythm
    // starts afresh from there.
    EXPECT_TRUE(schedule.fire(10s));
    EXPECT_FALSE(schedule.fire(10s + 1ms));
    EXPECT_EQ(schedule.delay(10s), interval);
}

TEST(TickSchedule, GoingOffEarlyIsNoTick) {
    TickSchedule schedule(interval, 0ns);
    EXPECT_FALSE(schedule.fire(199ms));
    EXPECT_EQ(schedule.delay(199ms), 1ms);
    EXPECT_TRUE(schedule.fire(200ms));
}

// Timers on one platform timer: those due together, or a moment apart, tick in one wake-up, in
// order; a tick that stops the others leaves them unticked; after each change the platform timer
// waits for the earliest deadline, or for nothing while none runs.
TEST(TimerGroup, TicksWhatIsDueInOrderAskingEachInTurn) {
    Duration now = 0ns;
    std::optional<Duration> waiting = 0ns;
    TimerGroup group([&] { return now; }, [&](std::optional<Duration> delay) { waiting = delay; });
    std::string ticked;
    const std::size_t first = group.add(interval, [&] { ticked += 'a'; });
    const std::size_t second = group.add(interval, [&] {
        ticked += 'b';
        group.stopAll();
    });
    const std::size_t third = group.add(interval, [&] { ticked += 'c'; });
    EXPECT_EQ(group.delay(), std::nullopt);
    group.start(second);
    now = 1ms;
    group.start(first);
    group.start(third);
    EXPECT_EQ(waiting, 199ms);

    now = 199ms; // the second is due, the others a moment later
    group.wake();
    EXPECT_EQ(ticked, "ab");
    EXPECT_FALSE(group.running(first) || group.running(second) || group.running(third));
    EXPECT_EQ(waiting, std::nullopt);

    group.start(first);
    now = 250ms;
    group.start(first); // already running: keeps its rhythm
    EXPECT_EQ(waiting, 200ms);
    now = 300ms;
    group.wake();
    EXPECT_EQ(ticked, "ab");
    EXPECT_EQ(waiting, 99ms);
    group.setRunning(first, false);
    EXPECT_EQ(waiting, std::nullopt);
}

} // namespace
} // namespace lumora
