// The billboard on screen (offscreen platform), driven by the timers' own signals and by mouse
// clicks on the list rows and option buttons.

#include "lumora.h"
#include "qt_platform.h"
#include "qt_test_support.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTimer>
#include <QtTest>

using namespace lumora;

namespace {

// Records which widgets paint, and where, while it is installed.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* window) {
        watch(window);
        for (QWidget* child : window->findChildren<QWidget*>()) {
            watch(child);
        }
    }
    QHash<QWidget*, QRegion> painted;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            auto* widget = static_cast<QWidget*>(object);
            painted[widget] += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }

private:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
};

} // namespace

class QtBillboardTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ShownWindow> shown;
    QtToolkit* ui = nullptr;

    QListWidget* list(std::int16_t i) const {
        return qobject_cast<QListWidget*>(ui->widget({"List1", i}));
    }
    QString ticker() const { return qobject_cast<QLineEdit*>(ui->widget({"Text2", 0}))->text(); }

    void tick(const char* timerName) {
        QTimer* timer = ui->timer({timerName});
        QVERIFY(timer->isActive());
        QVERIFY(QMetaObject::invokeMethod(timer, "timeout"));
    }

    void clickRow(std::int16_t i, int row) {
        QListWidget* box = list(i);
        box->scrollToItem(box->item(row));
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                          box->visualItemRect(box->item(row)).center());
        QCOMPARE(box->currentRow(), row);
    }

    // At the indicator: the middle of an option button may lie past its caption.
    void clickOption(std::int16_t i) {
        auto* button = qobject_cast<QRadioButton*>(ui->widget({"Option1", i}));
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect indicator =
            button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button);
        QTest::mouseClick(button, Qt::LeftButton, {}, indicator.center());
        QVERIFY(button->isChecked());
    }

    QColor dotPixel(const QImage& grab, const char* array, std::int16_t k) const {
        const QPoint corner = ui->widget({array, k})->pos();
        return grab.pixelColor(corner + QPoint(4, 4)); // inside the dot drawn at (4.25, 4.27)
    }

private slots:
    void initTestCase() { configureApplication(); }

    void init() {
        shown = std::make_unique<ShownWindow>();
        ui = &shown->ui;
        QVERIFY(shown->exposed);
    }

    void cleanup() { shown.reset(); }

    void tickerScrollsAndFollowsChoices() {
        QCOMPARE(ticker(), QStringLiteral("Големите изненади се"));
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("Големите изненади се"));
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("олемите изненади се "));

        clickRow(0, 0); // "10": restarts at the next tick
        QCOMPARE(ticker(), QStringLiteral("олемите изненади се "));
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("Големите и"));
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("олемите из"));

        clickRow(1, 1); // the message switches in place
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("кламата е "));

        clickRow(0, 4); // "30"
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("Рекламата е душата на търговия"));
    }

    void stopAndStartByClicks() {
        tick("Timer1");
        tick("Timer1");
        clickOption(1);
        QVERIFY(!ui->timer({"Timer1"})->isActive());
        QVERIFY(!ui->timer({"Timer2"})->isActive());
        const QString frozen = ticker();
        clickRow(1, 2);
        QCOMPARE(ticker(), frozen);

        clickOption(0);
        QVERIFY(ui->timer({"Timer1"})->isActive());
        QVERIFY(ui->timer({"Timer2"})->isActive());
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("Който разбира, тука "));
    }

    void clickingChosenRowAgainRaisesNothing() {
        tick("Timer1");
        tick("Timer1");
        clickRow(0, 2);
        tick("Timer1");
        QCOMPARE(ticker(), QStringLiteral("лемите изненади се к")); // not rewound
    }

    void userCannotClearSelection() {
        QListWidget* box = list(0);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          box->visualItemRect(box->currentItem()).center());
        QCOMPARE(box->currentRow(), 2);
        QCOMPARE(box->selectedItems().size(), 1);
        QCOMPARE(box->selectedItems().front(), box->currentItem());
    }

    void keyboardChoosesRows() {
        list(0)->setFocus();
        QTest::keyClick(list(0), Qt::Key_Down); // "25"
        QCOMPARE(list(0)->currentRow(), 3);
        tick("Timer1");
        QCOMPARE(ticker().size(), 25);
    }

    void lampsLightInPairsWithTheirColours_data() {
        QTest::addColumn<int>("ticks");
        for (int ticks = 1; ticks <= 9; ++ticks) {
            QTest::addRow("after tick %d", ticks) << ticks;
        }
    }

    void lampsLightInPairsWithTheirColours() {
        QFETCH(int, ticks);
        for (int i = 0; i < ticks; ++i) {
            tick("Timer2");
        }
        const QImage grab = ui->window()->grab().toImage();
        const QColor colours[] = {0xFFFFFF, 0xFF0000, 0xFF8000, 0xFFFF00,
                                  0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF};
        const int lit = ticks % 8;
        for (std::int16_t k = 0; k < 8; ++k) {
            const QColor background(0xC0C0FF);
            QCOMPARE(dotPixel(grab, "Picture1", k), k == lit ? colours[k] : background);
            QCOMPARE(dotPixel(grab, "Picture2", k), k == lit ? colours[7 - k] : background);
        }
    }

    // Each turn draws the lamp's dot again over the kept one; it must not grow or harden.
    void dotLooksTheSameEveryTurn() {
        tick("Timer2");
        const QImage firstTurn = ui->widget({"Picture1", 1})->grab().toImage();
        for (int i = 0; i < 3 * 8; ++i) {
            tick("Timer2");
        }
        QCOMPARE(ui->widget({"Picture1", 1})->grab().toImage(), firstTurn);
    }

    void tickRepaintsOnlyWhatChanges() {
        tick("Timer2");
        QCoreApplication::processEvents();
        PaintRecorder recorder(ui->window());
        tick("Timer1");
        tick("Timer2");
        QCoreApplication::processEvents();

        QRegion changedLamps;
        for (const char* array : {"Picture1", "Picture2"}) {
            for (const std::int16_t k : {1, 2}) {
                changedLamps += ui->widget({array, k})->geometry();
            }
        }
        QWidget* tickerBox = ui->widget({"Text2", 0});
        QVERIFY(recorder.painted.contains(tickerBox));
        for (auto it = recorder.painted.cbegin(); it != recorder.painted.cend(); ++it) {
            QWidget* widget = it.key();
            if (widget == ui->window()) {
                QVERIFY2((it.value() - changedLamps).isEmpty(), "window painted beyond the lamps");
            } else {
                const QString name = widget->objectName();
                QVERIFY2(widget == tickerBox || widget->parentWidget() == tickerBox ||
                             name == "Picture1(2)" || name == "Picture2(2)",
                         qPrintable(name));
            }
        }
    }
};

QTEST_MAIN(QtBillboardTest)
#include "qt_billboard_test.moc"
