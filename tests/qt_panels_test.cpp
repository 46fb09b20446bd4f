// The information panels, and the window as a keyboard or screen-reader user meets it
// (offscreen platform).

#include "information_panels.h"
#include "lumora.h"
#include "qt_platform.h"
#include "qt_test_support.h"
#include "qt_toolkit.h"
#include "window_design.h"

#include <QAccessible>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

using namespace lumora;

namespace {

QStringList crlfLines(TextView text) {
    QStringList lines = qText(text).split(QStringLiteral("\r\n"));
    lines.removeLast(); // after the last line's CR LF
    return lines;
}

} // namespace

class QtPanelsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ShownWindow> shown;
    qt::QtToolkit* ui = nullptr;

    QPlainTextEdit* panel(std::int16_t i) const {
        return qobject_cast<QPlainTextEdit*>(ui->widget(Text1(i)));
    }

private slots:
    void initTestCase() { configureApplication(); }

    void init() {
        shown = std::make_unique<ShownWindow>();
        ui = &shown->ui;
        QVERIFY(shown->exposed);
    }

    void cleanup() { shown.reset(); }

    void statementHasSevenCrLfLines() {
        QVERIFY(qText(taskStatement).endsWith(QStringLiteral("\r\n")));
        const QStringList lines = crlfLines(taskStatement);
        QCOMPARE(lines.size(), 7);
        QVERIFY(lines[0].endsWith(QLatin1Char(' ')));
        QCOMPARE(lines[4], QStringLiteral("Тема на проекта: Lumora."));
        for (const QString& line : lines) {
            QVERIFY(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
            QVERIFY(line.size() > 20);
        }
    }

    void quotationIsExact() {
        QCOMPARE(quotation.size(), std::size_t{118});
        const QStringList lines = crlfLines(quotation);
        QCOMPARE(
            lines,
            (QStringList{QStringLiteral("Неприятното в това да си първият, направил нещо по "),
                         QStringLiteral("правилния начин, е, че никой не оценява колко трудно е "),
                         QStringLiteral("било. ")}));
    }

    void panelsFollowDesign_data() {
        QTest::addColumn<int>("index");
        QTest::newRow("statement") << 0;
        QTest::newRow("quotation") << 1;
    }

    void panelsFollowDesign() {
        QFETCH(int, index);
        const auto i = static_cast<std::int16_t>(index);
        const ControlDesign& design = controlDesigns()[designPosition(Text1(i))];
        QPlainTextEdit* box = panel(i);
        QVERIFY(box);
        QCOMPARE(box->geometry(), pixelRect(design.bounds));
        QCOMPARE(box->isVisible(), i == 0);
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box->wordWrapMode(), QTextOption::WordWrap);
        QCOMPARE(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(box->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box->font(), ui->window()->font());
        QVERIFY(!box->autoFillBackground()); // the toolkit's own colours: white, as on every screen
        if (box->isVisible()) {
            const QImage drawn = box->viewport()->grab().toImage();
            QCOMPARE(drawn.pixelColor(drawn.width() - 2, drawn.height() - 2), QColor(Qt::white));
        }
        const QString expected =
            qText(design.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCOMPARE(box->toPlainText(), expected);
        QCOMPARE(box->document()->blockCount(), crlfLines(design.text).size() + 1);
    }

    void statementScrollsButCannotBeEdited() {
        QPlainTextEdit* box = panel(0);
        QScrollBar* bar = box->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_PageDown);
        QVERIFY(bar->value() > 0);

        const QString before = box->toPlainText();
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QStringLiteral("б"), {});
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->toPlainText(), before);

        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(box->textCursor().hasSelection()); // selectable from the keyboard
    }

    void visibleControlsHaveNamesAndRoles_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        const std::pair<ControlKind, QAccessible::Role> roles[] = {
            {ControlKind::Label, QAccessible::StaticText},
            {ControlKind::TextBox, QAccessible::EditableText},
            {ControlKind::ListBox, QAccessible::List},
            {ControlKind::Frame, QAccessible::Grouping},
            {ControlKind::OptionButton, QAccessible::RadioButton},
            {ControlKind::PictureBox, QAccessible::Graphic},
        };
        const std::map<std::string, QString> names = {
            {controlName(Label1(0)), "Lumora"},
            {controlName(Text2(0)), "Текст на рекламата"},
            {controlName(Label1(1)), "Брой"},
            {controlName(List1(0)), "Брой"},
            {controlName(Frame1), "Управление"},
            {controlName(Option1(0)), "Пусни"},
            {controlName(Option1(1)), "Спри"},
            {controlName(List1(1)), "Рекламно послание"},
            {controlName(Text1(0)), "Условие на задачата"},
        };
        const auto designs = controlDesigns();
        for (std::size_t i = 0; i < designs.size(); ++i) {
            if (!designs[i].visible || designs[i].kind == ControlKind::Timer) {
                continue;
            }
            const std::string key = controlName({designs[i].name, designs[i].index});
            const auto role = std::find_if(std::begin(roles), std::end(roles), [&](const auto& r) {
                return r.first == designs[i].kind;
            });
            QVERIFY(names.count(key) == 1);
            QTest::newRow(key.c_str())
                << static_cast<int>(i) << static_cast<int>(role->second) << names.at(key);
        }
    }

    void visibleControlsHaveNamesAndRoles() {
        QFETCH(int, position);
        QFETCH(int, role);
        QFETCH(QString, name);
        const ControlDesign& design = controlDesigns()[static_cast<std::size_t>(position)];
        QAccessibleInterface* accessible =
            QAccessible::queryAccessibleInterface(ui->widget({design.name, design.index}));
        QVERIFY(accessible);
        QCOMPARE(static_cast<int>(accessible->role()), role);
        QCOMPARE(accessible->text(QAccessible::Name), name);
        QVERIFY(!accessible->state().invisible);
    }

    void hiddenControlsAreInvisibleToScreenReaders() {
        for (const ControlId id : {Text1(1), Picture3(0), Picture1(4)}) {
            QAccessibleInterface* accessible =
                QAccessible::queryAccessibleInterface(ui->widget(id));
            QVERIFY(accessible->state().invisible);
            QVERIFY(!accessible->text(QAccessible::Name).isEmpty());
        }
    }
};

QTEST_MAIN(QtPanelsTest)
#include "qt_panels_test.moc"
