// Lumora as a native Wayland client of a headless Weston (started by wayland_test.sh): the window
// as the compositor shows it, read back from Weston's own screenshots.

#include "lumora.h"
#include "qt_platform.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace lumora;

namespace {

constexpr QSize windowSize(466, 352);
constexpr QRgb windowColour = 0xC0C0FF;

QRect designRect(ControlId id) {
    const TwipRect& r = controlDesigns()[designPosition(id)].bounds;
    return {r.left / 15, r.top / 15, r.width / 15, r.height / 15};
}

// The whole output as Weston composed it.
QImage screenshot() {
    QTemporaryDir folder;
    QProcess shooter;
    shooter.setWorkingDirectory(folder.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0) {
        return {};
    }
    const QStringList shots = QDir(folder.path()).entryList({QStringLiteral("*.png")});
    return shots.isEmpty() ? QImage() : QImage(folder.filePath(shots.front()));
}

QRgb rgb(const QImage& image, QPoint at) {
    return image.pixel(at) & 0xFFFFFFu;
}

// The top-left corner of the window's inner area on the screen, found by its title label: the
// first row of label colour as wide as the label, which the design puts at the top.
std::optional<QPoint> findWindow(const QImage& screen) {
    const QRect label = designRect(Label1(0));
    const QRgb labelColour = 0xFFC080;
    for (int y = 0; y < screen.height(); ++y) {
        int run = 0;
        for (int x = 0; x < screen.width(); ++x) {
            run = rgb(screen, {x, y}) == labelColour ? run + 1 : 0;
            if (run == label.width()) {
                return QPoint(x + 1, y) - label.topRight() - QPoint(1, 0);
            }
        }
    }
    return std::nullopt;
}

// Polls the screen until the window shows, for up to ten seconds.
std::pair<QImage, QPoint> waitForWindow() {
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        QImage screen = screenshot();
        if (const auto origin = findWindow(screen)) {
            return {screen, *origin};
        }
        QTest::qWait(100);
    }
    return {};
}

QImage part(const QImage& screen, QPoint origin, ControlId id) {
    return screen.copy(designRect(id).translated(origin));
}

} // namespace

class WaylandWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        configureApplication();
    }

    void mapsAtDesignSizeAndAnimatesWithNoWarnings() {
        QProcess lumora;
        lumora.start(QStringLiteral(LUMORA_EXECUTABLE), {});
        QVERIFY(lumora.waitForStarted());
        const auto [first, origin] = waitForWindow();
        QVERIFY2(!first.isNull(), "no Lumora window on the screen");

        // The inner area is exactly the design's size: the window's colour reaches its
        // bottom-right corner, and the frame or the desktop lies beyond it.
        const QPoint corner = origin + QPoint(windowSize.width() - 1, windowSize.height() - 1);
        QCOMPARE(rgb(first, origin), windowColour);
        QCOMPARE(rgb(first, corner), windowColour);
        QVERIFY(rgb(first, corner + QPoint(1, 0)) != windowColour);
        QVERIFY(rgb(first, corner + QPoint(0, 1)) != windowColour);

        // The ticker and the lit lamp pair move on by themselves.
        QDeadlineTimer deadline(5000);
        bool tickerMoved = false;
        bool lampsMoved = false;
        while (!(tickerMoved && lampsMoved) && !deadline.hasExpired()) {
            QTest::qWait(100);
            const QImage later = screenshot();
            tickerMoved =
                tickerMoved || part(later, origin, Text2(0)) != part(first, origin, Text2(0));
            for (std::int16_t k = 0; k < 8; ++k) {
                lampsMoved = lampsMoved ||
                             part(later, origin, Picture1(k)) != part(first, origin, Picture1(k));
            }
        }
        QVERIFY(tickerMoved);
        QVERIFY(lampsMoved);

        lumora.terminate();
        QVERIFY(lumora.waitForFinished(5000));
        QCOMPARE(QString::fromUtf8(lumora.readAllStandardError()), QString());
    }

    // Qt's own frame offers a maximise button that the window does not want. Weston then gives
    // the window the whole screen, and the billboard keeps its size and place inside it.
    void maximiseKeepsTheBillboard() {
        QStringList messages;
        static QStringList* seen = nullptr;
        seen = &messages;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { seen->append(text); });

        qt::QtToolkit ui;
        Lumora form(ui);
        ui.load(form);
        QWidget* window = ui.window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect ticker = ui.widget(Text2(0))->geometry();
        window->setWindowState(Qt::WindowMaximized);
        QTRY_VERIFY(window->size() != windowSize);
        QCOMPARE(ui.widget(Text2(0))->geometry(), ticker);
        const auto [screen, origin] = waitForWindow();
        QVERIFY(!screen.isNull());
        QCOMPARE(part(screen, origin, Label1(0)).size(), designRect(Label1(0)).size());

        window->setWindowState(Qt::WindowNoState);
        QTRY_COMPARE(window->size(), windowSize);
        QCOMPARE(window->maximumSize(), windowSize);

        qInstallMessageHandler(previous);
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(WaylandWindowTest)
#include "wayland_window_test.moc"
