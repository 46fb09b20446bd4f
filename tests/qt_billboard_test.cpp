// The billboard on screen (offscreen platform), in what only Qt shows: the lists' selection under
// the mouse, and which widgets repaint at a tick.

#include "lumora.h"
#include "qt_platform.h"
#include "qt_test_support.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QListWidget>
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
    qt::QtToolkit* ui = nullptr;

    QListWidget* list(std::int16_t i) const {
        return qobject_cast<QListWidget*>(ui->widget(List1(i)));
    }

    void tick() { shown->tick(); }

private slots:
    void initTestCase() { configureApplication(); }

    void init() {
        shown = std::make_unique<ShownWindow>();
        ui = &shown->ui;
        QVERIFY(shown->exposed);
    }

    void cleanup() { shown.reset(); }

    void userCannotClearSelection() {
        QListWidget* box = list(0);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          box->visualItemRect(box->currentItem()).center());
        QCOMPARE(box->currentRow(), 2);
        QCOMPARE(box->selectedItems().size(), 1);
        QCOMPARE(box->selectedItems().front(), box->currentItem());
    }

    void tickRepaintsOnlyWhatChanges() {
        tick();
        QCoreApplication::processEvents();
        PaintRecorder recorder(ui->window());
        tick();
        QCoreApplication::processEvents();

        QRegion changedLamps;
        for (const ControlArray array : {Picture1, Picture2}) {
            for (const std::int16_t k : {1, 2}) {
                changedLamps += ui->widget(array(k))->geometry();
            }
        }
        QWidget* tickerBox = ui->widget(Text2(0));
        QVERIFY(recorder.painted.contains(tickerBox));
        for (auto it = recorder.painted.cbegin(); it != recorder.painted.cend(); ++it) {
            QWidget* widget = it.key();
            if (widget == ui->window()) {
                QVERIFY2((it.value() - changedLamps).isEmpty(), "window painted beyond the lamps");
            } else {
                const QString name = widget->objectName();
                QVERIFY2(widget == tickerBox || widget->parentWidget() == tickerBox ||
                             widget == ui->widget(Picture1(2)) || widget == ui->widget(Picture2(2)),
                         qPrintable(name));
            }
        }
    }
};

QTEST_MAIN(QtBillboardTest)
#include "qt_billboard_test.moc"
