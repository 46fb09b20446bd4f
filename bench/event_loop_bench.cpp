// Lumora on its real event loop for a while, watched from inside: when each ticker tick came,
// and how many pixels the paint events of each 200 ms period covered. Prints one JSON object.
//   event_loop_bench [SECONDS]      (60 unless given; on the platform Qt chooses)

#include "control_names.h"
#include "lumora.h"
#include "qt_platform.h"
#include "qt_toolkit.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// Lumora's handlers, timing the ticker's ticks.
class TimedLumora final : public lumora::EventHandlers {
public:
    explicit TimedLumora(lumora::Toolkit& ui) : form_(ui) { clock_.start(); }

    void load() override { form_.load(); }
    void click(std::string_view array, std::int16_t index) override { form_.click(array, index); }
    void timer(std::string_view name) override {
        form_.timer(name);
        if (name == lumora::Timer1.name) {
            ticks.push_back(static_cast<double>(clock_.nsecsElapsed()) / 1e6);
        }
    }

    std::vector<double> ticks; // ms since the start

private:
    lumora::Lumora form_;
    QElapsedTimer clock_;
};

// Adds up the area of every paint event in the window.
class PaintedArea final : public QObject {
public:
    long long pixels = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            for (const QRect& r : static_cast<QPaintEvent*>(event)->region()) {
                pixels += static_cast<long long>(r.width()) * r.height();
            }
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    lumora::QtPlatform platform(argc, argv);
    lumora::qt::QtToolkit ui;
    TimedLumora handlers(ui);
    ui.load(handlers);

    PaintedArea painted;
    std::vector<long long> perPeriod;
    QTimer settle;
    // The first second shows the window and paints it whole; count from then on, period by
    // period, starting at a tick.
    QTimer::singleShot(1000, [&] {
        QCoreApplication::instance()->installEventFilter(&painted);
        settle.setTimerType(Qt::PreciseTimer);
        QObject::connect(&settle, &QTimer::timeout, [&] {
            perPeriod.push_back(painted.pixels);
            painted.pixels = 0;
        });
        settle.start(200);
    });
    QTimer::singleShot(seconds * 1000, [] { QCoreApplication::quit(); });
    ui.showAndDeliverEvents();

    const std::vector<double>& t = handlers.ticks;
    std::vector<double> deviations;
    double drift = 0;
    for (std::size_t n = 1; n < t.size(); ++n) {
        deviations.push_back(std::abs(t[n] - t[n - 1] - 200));
        drift = std::max(drift, std::abs(t[n] - t[0] - 200.0 * static_cast<double>(n)));
    }
    std::sort(deviations.begin(), deviations.end());
    std::sort(perPeriod.begin(), perPeriod.end());
    const double mean =
        t.size() > 1 ? (t.back() - t.front()) / static_cast<double>(t.size() - 1) : 0;
    std::printf("{\"ticks\": %zu, \"mean_period_ms\": %.3f, \"p99_deviation_ms\": %.3f, "
                "\"drift_ms\": %.3f, \"painted_pixels_per_period\": %lld, "
                "\"painted_pixels_per_period_max\": %lld}\n",
                t.size(), mean,
                deviations.empty() ? 0.0 : deviations[(deviations.size() - 1) * 99 / 100], drift,
                perPeriod.empty() ? 0 : perPeriod[perPeriod.size() / 2],
                perPeriod.empty() ? 0 : perPeriod.back());
    return 0;
}
