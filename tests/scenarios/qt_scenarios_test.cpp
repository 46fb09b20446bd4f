// The window's promises on Qt: the scenario table and seeded random input, acted out with QTest's
// mouse and key events on the real widgets, the timers firing through their own signal.

#include "qt_platform.h"
#include "qt_toolkit.h"
#include "random_input.h"
#include "screen_layout.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QtTest>

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include <chrono>
#include <filesystem>
#include <malloc.h>
#include <random>

using namespace lumora;
using namespace lumora::scenarios;

namespace {

// What the X server keeps for the program that owns `window`: its windows, pixmaps and graphics
// contexts, and everything else together; nothing where Qt draws on no X server.
Holdings xResources(WId window) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return {};
    }
    static Display* const server = XOpenDisplay(nullptr); // a connection of the test's own
    int kinds = 0;
    XResType* types = nullptr;
    if (server == nullptr || XResQueryClientResources(server, window, &kinds, &types) == 0) {
        return {{"X resources unreadable", -1}};
    }
    Holdings held{{"X windows", 0}, {"X pixmaps", 0}, {"X graphics contexts", 0}, {"X other", 0}};
    for (int n = 0; n < kinds; ++n) {
        char* atom = XGetAtomName(server, types[n].resource_type);
        const std::string kind = atom;
        XFree(atom);
        held[kind == "WINDOW"   ? "X windows"
             : kind == "PIXMAP" ? "X pixmaps"
             : kind == "GC"     ? "X graphics contexts"
                                : "X other"] += types[n].count;
    }
    XFree(types);
    return held;
}

class QtDriver final : public RandomInputDriver {
public:
    QtDriver() {
        ui_.load(handlers_);
        ui_.window()->show();
        ui_.window()->activateWindow();
        exposed_ = QTest::qWaitForWindowActive(ui_.window());
        // A failing handler shows its report in a modal box, which a user dismisses.
        QObject::connect(&dismiss_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                report_ = box->text();
                box->accept();
            }
        });
    }

    bool exposed() const { return exposed_; }
    std::pair<int, int> outerSize() const override {
        const QSize size = ui_.window()->frameGeometry().size();
        return {size.width(), size.height()};
    }
    QWidget* window() const { return ui_.window(); }

    // The process's heap in use, widgets, open descriptors and threads, and on X what the server
    // keeps for it.
    Holdings held() const {
        const auto entries = [](const char* folder) {
            const std::filesystem::directory_iterator listing(folder);
            return static_cast<long long>(std::distance(begin(listing), end(listing)));
        };
        Holdings held = xResources(ui_.window()->winId());
        held.insert({{"heap bytes", static_cast<long long>(mallinfo2().uordblks)},
                     {"widgets", QApplication::allWidgets().size()},
                     {"descriptors", entries("/proc/self/fd")},
                     {"threads", entries("/proc/self/task")}});
        return held;
    }
    QString report() const { return report_; }

    Toolkit& toolkit() override { return ui_; }

    void act(const Step& step) override {
        const ControlId id = step.control;
        switch (step.action) {
        case Action::Tick:
            now_ += tickInterval();
            ui_.wakeTimers();
            QCoreApplication::processEvents(); // paints, as a tick does on screen
            break;
        case Action::ChooseRow: {
            auto* box = list(id);
            box->scrollToItem(box->item(step.value)); // as a user scrolls to the row first
            QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                              box->visualItemRect(box->item(step.value)).center());
            break;
        }
        case Action::ClickOption: {
            // At the indicator: the middle of an option button may lie past its caption.
            auto* button = qobject_cast<QRadioButton*>(ui_.widget(id));
            QStyleOptionButton option;
            option.initFrom(button);
            QTest::mouseClick(button, Qt::LeftButton, {},
                              button->style()
                                  ->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button)
                                  .center());
            break;
        }
        case Action::Key: {
            static constexpr Qt::Key keys[] = {Qt::Key_Down, Qt::Key_Up, Qt::Key_Tab,
                                               Qt::Key_Backtab};
            QTest::keyClick(QApplication::focusWidget(), keys[static_cast<int>(step.key)]);
            break;
        }
        case Action::FailNextEvent:
            handlers_.failNextEvent();
            dismiss_.start(50);
            break;
        case Action::Close:
            QTimer::singleShot(0, ui_.window(), &QWidget::close);
            exitStatus_ = ui_.showAndDeliverEvents();
            break;
        default:
            break;
        }
    }

    WindowState observe() override {
        QCoreApplication::processEvents();
        WindowState state;
        state.ticker = fromQString(qobject_cast<QLineEdit*>(ui_.widget(Text2(0)))->text());
        state.lengthRow = static_cast<std::int16_t>(list(List1(0))->currentRow());
        state.messageRow = static_cast<std::int16_t>(list(List1(1))->currentRow());
        for (const std::int16_t option : {0, 1}) {
            if (qobject_cast<QRadioButton*>(ui_.widget(Option1(option)))->isChecked()) {
                state.chosenOption = option;
            }
        }
        const QPoint dot(pixels(static_cast<int>(lampDot().x), 96),
                         pixels(static_cast<int>(lampDot().y), 96));
        for (std::size_t n = 0; n < lampCount; ++n) {
            QWidget* box = ui_.widget(lamp(n));
            if (box->isVisibleTo(ui_.window())) {
                state.lamps[n] = box->grab().toImage().pixel(dot) & 0xFFFFFFu;
            }
        }
        state.tickerTimerRuns = ui_.enabled(Timer1);
        state.lampTimerRuns = ui_.enabled(Timer2);
        state.clicks = handlers_.takeClicks();
        if (QWidget* focus = QApplication::focusWidget()) {
            state.focus = focus->objectName().toStdString();
        }
        bool inView = true;
        for (const std::int16_t i : {0, 1}) {
            QListWidget* box = list(List1(i));
            inView = inView && (box->currentItem() == nullptr ||
                                box->viewport()->rect().contains(
                                    box->visualItemRect(box->currentItem()).center()));
        }
        state.chosenRowsInView = inView;
        state.exitStatus = exitStatus_;
        return state;
    }

    // A click of either button, single or double, at a point of the window, on whatever lies
    // there.
    void clickAt(int x, int y, bool right, bool twice) override {
        const QPoint at(pixels(x, designDpi), pixels(y, designDpi));
        QWidget* target = ui_.window()->childAt(at);
        if (target == nullptr) {
            target = ui_.window();
        }
        const QPoint local = target->mapFrom(ui_.window(), at);
        const Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
        if (twice) {
            QTest::mouseDClick(target, button, {}, local);
        } else {
            QTest::mouseClick(target, button, {}, local);
        }
        // A context menu opened by a right click closes again, as by Escape.
        while (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
    }

private:
    static Text fromQString(const QString& text) {
        const QList<uint> ucs4 = text.toUcs4();
        return Text(ucs4.begin(), ucs4.end());
    }

    QListWidget* list(ControlId id) const { return qobject_cast<QListWidget*>(ui_.widget(id)); }

    TimerGroup::Duration now_{}; // moves only as the scenario ticks
    qt::QtToolkit ui_{[this] { return now_; }};
    RecordingHandlers handlers_{ui_};
    QTimer dismiss_;
    QString report_;
    std::optional<int> exitStatus_;
    bool exposed_ = false;
};

} // namespace

class QtScenariosTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(); }

    void scenario_data() {
        QTest::addColumn<int>("index");
        const auto& table = windowScenarios();
        for (std::size_t i = 0; i < table.size(); ++i) {
            QTest::newRow(reportName(table[i]).c_str()) << static_cast<int>(i);
        }
    }

    void scenario() {
        QFETCH(int, index);
        const Scenario& scenario = windowScenarios()[static_cast<std::size_t>(index)];
        if (skipped(scenario, Platform::Qt)) {
            QSKIP(scenario.whySkipped.data());
        }
        QtDriver driver;
        QVERIFY(driver.exposed());
        const std::vector<std::string> failures = run(driver, scenario);
        for (const std::string& failure : failures) {
            qWarning("%s", failure.c_str());
        }
        QVERIFY2(failures.empty(), failures.empty() ? "" : failures.front().c_str());
        if (driver.report().size() > 0) {
            QCOMPARE(driver.report(),
                     QString::fromStdString(RuntimeError::divisionByZero().report()));
        }
    }

    // Seeded random steps, clicks anywhere included; LUMORA_SEED repeats a run.
    void randomInput() {
        const unsigned seed = randomSeed();
        QtDriver driver;
        QVERIFY(driver.exposed());
        const std::string broken = actOutRandomInput(driver, seed, std::chrono::seconds(20));
        QVERIFY2(broken.empty(), broken.c_str());
    }

    // A week of ticks, as many as fit in a minute, with random steps sprinkled in: no more held.
    // Qt's caches keep up to 330 KB more at some steps of the round than at others: a minute
    // gives the 64 readings that hold four rounds even with every core busy (92 or more seen).
    void week() {
        QtDriver driver;
        QVERIFY(driver.exposed());
        QVERIFY(!driver.held().contains("X resources unreadable"));
        const std::string grew = actOutWeek(
            driver, [&driver] { return driver.held(); }, randomSeed(), true,
            std::chrono::seconds(60));
        QVERIFY2(grew.empty(), grew.c_str());
    }
};

QTEST_MAIN(QtScenariosTest)
#include "qt_scenarios_test.moc"
