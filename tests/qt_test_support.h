#pragma once

// Shared by the widget tests: the design's values as Qt sees them, and a loaded window on
// screen whose clock is the test.

#include "lumora.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QRect>
#include <QString>
#include <QWidget>
#include <QtTest>

namespace lumora {

inline QString qText(TextView text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt lays the window out in device-independent pixels, 96 to the inch.
inline constexpr int twipsPerPixel = 1440 / 96;

inline QRect pixelRect(const TwipRect& r) {
    return {r.left / twipsPerPixel, r.top / twipsPerPixel, r.width / twipsPerPixel,
            r.height / twipsPerPixel};
}

// "Picture1(3)", "Frame1": the name a control has in the design and as a Qt object.
inline QString nameOf(const ControlDesign& design) {
    QString name =
        QString::fromLatin1(design.name.data(), static_cast<qsizetype>(design.name.size()));
    return design.index == noIndex ? name : name + QStringLiteral("(%1)").arg(design.index);
}

// The window loaded and shown, on a clock that moves only when the test ticks.
struct ShownWindow {
    ShownWindow() : form(ui) {
        ui.load(form);
        ui.window()->show();
        exposed = QTest::qWaitForWindowExposed(ui.window());
    }
    // One interval passes: the timers tick.
    void tick() {
        now += std::chrono::milliseconds(200);
        ui.wakeTimers();
    }
    TimerGroup::Duration now{};
    qt::QtToolkit ui{[this] { return now; }};
    Lumora form;
    bool exposed = false;
};

} // namespace lumora
