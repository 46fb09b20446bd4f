#pragma once

// Shared by the widget tests: the design's values as Qt sees them, and a loaded window on
// screen whose clock is the test.

#include "lumora.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QRect>
#include <QString>
#include <QTimer>
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

// The window loaded and shown. Its timers stay active but fire only when the test says.
struct ShownWindow {
    ShownWindow() : form(ui) {
        ui.load(form);
        for (QTimer* timer : ui.window()->findChildren<QTimer*>()) {
            timer->setInterval(24 * 60 * 60 * 1000);
        }
        ui.window()->show();
        exposed = QTest::qWaitForWindowExposed(ui.window());
    }
    qt::QtToolkit ui;
    Lumora form;
    bool exposed = false;
};

} // namespace lumora
