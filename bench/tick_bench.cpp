// What a tick costs: both timers' logic alone, and each timer's tick on screen with the repaint
// it causes, against repainting the whole window, measured in the same run as the baseline.
//
//   build/default/bench/tick_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only

#include "lumora.h"
#include "memory_toolkit.h"
#include "qt_platform.h"
#include "qt_toolkit.h"

#include <QCoreApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

void BM_TickLogicOnly(benchmark::State& state) {
    lumora::memory::MemoryToolkit ui;
    lumora::Lumora form(ui);
    ui.load(form);
    for (auto _ : state) {
        form.Timer1_Timer();
        form.Timer2_Timer();
        ui.clearWrites();
    }
}
BENCHMARK(BM_TickLogicOnly);

// The window shown on the offscreen platform, on a clock that stands still so that only the
// benchmark ticks.
struct ShownWindow {
    ShownWindow() : form(ui) {
        ui.load(form);
        ui.window()->show();
        QCoreApplication::processEvents();
    }
    lumora::qt::QtToolkit ui{[] { return lumora::TimerGroup::Duration{}; }};
    lumora::Lumora form;
};

void BM_TickerTickOnScreen(benchmark::State& state) {
    ShownWindow shown;
    for (auto _ : state) {
        shown.form.Timer1_Timer();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_TickerTickOnScreen);

void BM_LampTickOnScreen(benchmark::State& state) {
    ShownWindow shown;
    for (auto _ : state) {
        shown.form.Timer2_Timer();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_LampTickOnScreen);

void BM_WholeWindowRepaint(benchmark::State& state) {
    ShownWindow shown;
    for (auto _ : state) {
        shown.ui.window()->update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_WholeWindowRepaint);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    lumora::QtPlatform platform(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
