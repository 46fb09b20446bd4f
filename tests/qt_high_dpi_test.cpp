// The window on a screen with twice the pixel density (run with QT_SCALE_FACTOR=2).

#include "lumora.h"
#include "qt_platform.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QtTest>

using namespace lumora;

class QtHighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        configureApplication();
        QCOMPARE(qgetenv("QT_SCALE_FACTOR"), QByteArray("2"));
    }

    void windowScalesAsAWhole() {
        qt::QtToolkit ui;
        Lumora form(ui);
        ui.load(form);
        const QPixmap grab = ui.window()->grab();
        QCOMPARE(grab.size(), QSize(932, 704));
        QCOMPARE(grab.devicePixelRatio(), 2.0);
        for (const ControlDesign& design : controlDesigns()) {
            if (design.kind == ControlKind::Timer) {
                continue;
            }
            QWidget* widget = ui.widget({design.name, design.index});
            QCOMPARE(widget->size(), QSize(design.bounds.width / 15, design.bounds.height / 15));
            QCOMPARE(widget->grab().size(), widget->size() * 2);
        }
    }

    // Text drawn for the denser screen has detail finer than a logical pixel: an image merely
    // scaled up would repeat each logical pixel as a uniform block of 2 x 2 device pixels.
    void textIsDrawnAtDeviceResolution() {
        qt::QtToolkit ui;
        const QImage title = ui.widget(Label1(0))->grab().toImage();
        int inked = 0;
        int detailed = 0;
        for (int y = 0; y + 1 < title.height(); y += 2) {
            for (int x = 0; x + 1 < title.width(); x += 2) {
                const QRgb a = title.pixel(x, y);
                const QRgb others[] = {title.pixel(x + 1, y), title.pixel(x, y + 1),
                                       title.pixel(x + 1, y + 1)};
                const bool uniform = std::all_of(std::begin(others), std::end(others),
                                                 [a](QRgb b) { return b == a; });
                if (!uniform || qGray(a) < 160) {
                    ++inked;
                    detailed += uniform ? 0 : 1;
                }
            }
        }
        QVERIFY2(inked > 50, "the title shows no text");
        QVERIFY2(detailed * 2 > inked,
                 qPrintable(QStringLiteral("%1 of %2").arg(detailed).arg(inked)));
    }

    void dotsAreDrawnAtDeviceResolution() {
        qt::QtToolkit ui;
        ui.setVisible(Picture1(1), true);
        ui.setDrawWidth(Picture1(1), 10);
        ui.pset(Picture1(1), 63.75f, 64, 0xFF0000);
        const QImage lamp = ui.widget(Picture1(1))->grab().toImage();
        QCOMPARE(lamp.size(), QSize(34, 34));
        // The dot's centre, 4.25 logical pixels in, is 8.5 device pixels in; 9 pixels across.
        QCOMPARE(lamp.pixel(8, 8) & 0xFFFFFFu, 0xFF0000u);
        QCOMPARE(lamp.pixel(12, 12) & 0xFFFFFFu, 0xFF0000u);
        QCOMPARE(lamp.pixel(20, 20) & 0xFFFFFFu, 0xC0C0FFu);
    }
};

QTEST_MAIN(QtHighDpiTest)
#include "qt_high_dpi_test.moc"
