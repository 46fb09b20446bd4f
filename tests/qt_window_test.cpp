// The window on screen (offscreen platform): built from the design table, loaded, and ended by a
// run-time error.

#include "lumora.h"
#include "qt_platform.h"
#include "qt_test_support.h"
#include "qt_toolkit.h"
#include "runtime_error.h"
#include "window_design.h"

#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

using namespace lumora;

namespace {

// Texts the window shows, which the resolved font must cover.
QString allTexts() {
    QString texts = qText(windowDesign().caption);
    for (const ControlDesign& design : controlDesigns()) {
        texts += qText(design.text);
        for (const TextView row : design.rows) {
            texts += qText(row);
        }
    }
    return texts;
}

} // namespace

class QtWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { configureApplication(); }

    void controlFollowsDesign_data() {
        QTest::addColumn<int>("position");
        const auto designs = controlDesigns();
        for (std::size_t i = 0; i < designs.size(); ++i) {
            if (designs[i].kind != ControlKind::Timer) {
                QTest::newRow(qPrintable(nameOf(designs[i]))) << static_cast<int>(i);
            }
        }
    }

    void controlFollowsDesign() {
        QFETCH(int, position);
        const ControlDesign& design = controlDesigns()[static_cast<std::size_t>(position)];
        qt::QtToolkit ui;
        QWidget* widget = ui.widget({design.name, design.index});
        QCOMPARE(widget->objectName(), nameOf(design));
        QCOMPARE(widget->geometry(), pixelRect(design.bounds));
        QCOMPARE(widget->isVisibleTo(ui.window()), design.visible);
        const QWidget* expectedParent =
            design.container.empty() ? ui.window() : ui.widget({design.container});
        QCOMPARE(widget->parentWidget(), expectedParent);
        if (design.background) {
            QCOMPARE(widget->palette().color(widget->backgroundRole()).rgb() & 0xFFFFFFu,
                     *design.background);
            if (design.kind == ControlKind::PictureBox) {
                // A picture box paints its background itself.
                QCOMPARE(widget->grab().toImage().pixel(0, 0) & 0xFFFFFFu, *design.background);
            } else {
                QVERIFY(widget->autoFillBackground());
            }
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            QCOMPARE(label->text(), qText(design.text));
            QVERIFY(label->alignment() & Qt::AlignHCenter);
        } else if (auto* frame = qobject_cast<QGroupBox*>(widget)) {
            QCOMPARE(frame->title(), qText(design.text));
        } else if (auto* option = qobject_cast<QRadioButton*>(widget)) {
            QCOMPARE(option->text(), qText(design.text));
        } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            QCOMPARE(list->count(), static_cast<int>(design.rows.size()));
            for (int row = 0; row < list->count(); ++row) {
                QCOMPARE(list->item(row)->text(),
                         qText(design.rows[static_cast<std::size_t>(row)]));
            }
            QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            QCOMPARE(edit->isReadOnly(), design.readOnly);
            QCOMPARE(edit->font().bold(), design.bold);
            QCOMPARE(edit->font().italic(), design.italic);
            QVERIFY(edit->alignment() & Qt::AlignHCenter);
        }
    }

    void windowFollowsDesign() {
        qt::QtToolkit ui;
        QWidget* window = ui.window();
        QCOMPARE(window->windowTitle(),
                 QStringLiteral("lumora.example ИТ - светлинна реклама и текст"));
        QCOMPARE(window->minimumSize(), QSize(466, 352));
        QCOMPARE(window->maximumSize(), QSize(466, 352));
        QVERIFY(!(window->windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
        QVERIFY(window->windowFlags() & Qt::WindowSystemMenuHint);
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0C0FF));
        QCOMPARE(window->font().pointSize(), 12);
        QVERIFY(!QApplication::windowIcon().isNull());
        QCOMPARE(QApplication::applicationVersion(), QStringLiteral("1.00"));
    }

    void fontCoversCyrillic() {
        qt::QtToolkit ui;
        const QFontInfo resolved(ui.window()->font());
        QVERIFY2(resolved.family().contains(QStringLiteral("Liberation Serif")) ||
                     resolved.family().contains(QStringLiteral("Times New Roman")),
                 qPrintable(resolved.family()));
        const QFontMetrics metrics(ui.window()->font());
        for (const QChar c : allTexts()) {
            if (!c.isPrint()) {
                continue; // the panels' line breaks
            }
            QVERIFY2(metrics.inFont(c), qPrintable(QStringLiteral("missing %1").arg(c)));
        }
    }

    void focusFollowsTabPlaces() {
        qt::QtToolkit ui;
        std::vector<std::pair<int, QWidget*>> expected;
        for (const ControlDesign& design : controlDesigns()) {
            if (design.kind == ControlKind::Timer) {
                continue;
            }
            QWidget* widget = ui.widget({design.name, design.index});
            const bool focusable = design.kind == ControlKind::TextBox ||
                                   design.kind == ControlKind::ListBox ||
                                   design.kind == ControlKind::OptionButton;
            QCOMPARE(widget->focusPolicy() != Qt::NoFocus, focusable);
            if (focusable) {
                expected.emplace_back(design.tabPlace, widget);
            }
        }
        std::sort(expected.begin(), expected.end());
        QWidget* w = expected.front().second;
        for (std::size_t i = 1; i < expected.size(); ++i) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus) {
                w = w->nextInFocusChain();
            }
            QCOMPARE(w, expected[i].second);
        }
    }

    void createdStateHasNothingChosen() {
        qt::QtToolkit ui;
        QCOMPARE(qobject_cast<QListWidget*>(ui.widget(List1(0)))->currentRow(), -1);
        QCOMPARE(qobject_cast<QListWidget*>(ui.widget(List1(1)))->currentRow(), -1);
        QVERIFY(!qobject_cast<QRadioButton*>(ui.widget(Option1(0)))->isChecked());
        QVERIFY(!qobject_cast<QRadioButton*>(ui.widget(Option1(1)))->isChecked());
        QCOMPARE(qobject_cast<QLineEdit*>(ui.widget(Text2(0)))->text(), QString());
        for (const ControlArray array : {Picture1, Picture2, Picture3}) {
            for (std::int16_t k = 0; k < 8; ++k) {
                QVERIFY(!ui.widget(array(k))->isVisibleTo(ui.window()));
            }
        }
    }

    // The ticker's frame is a copy the style keeps between ticks: it must look as the style
    // draws it, and change with the ticker's state (here, the focus).
    void tickerLooksAsTheStyleDrawsIt() {
        ShownWindow shown;
        QVERIFY(shown.exposed);
        auto* ticker = static_cast<QLineEdit*>(shown.ui.widget(Text2(0)));
        QStyle* cached = ticker->style();
        for (const bool focused : {false, true}) {
            if (focused) {
                shown.ui.window()->activateWindow();
                ticker->setFocus();
                QTRY_VERIFY(ticker->hasFocus());
            }
            const QImage fromCopy = ticker->grab().toImage();
            ticker->setStyle(QApplication::style());
            const QImage drawn = ticker->grab().toImage();
            ticker->setStyle(cached);
            QCOMPARE(fromCopy.size(), drawn.size());
            int worst = 0; // antialiased edges may round apart by a step
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x) {
                    const QColor a = fromCopy.pixelColor(x, y);
                    const QColor b = drawn.pixelColor(x, y);
                    worst =
                        std::max({worst, std::abs(a.red() - b.red()),
                                  std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
                }
            }
            QVERIFY2(worst <= 2, qPrintable(QStringLiteral("differs by %1").arg(worst)));
        }
    }

    // The ticker paints the slices it shows from text it laid out before: every slice of every
    // message, at every visible length, must look exactly as a plain line edit draws it.
    void tickerLooksAsALineEdit() {
        ShownWindow shown;
        QVERIFY(shown.exposed);
        auto* ticker = static_cast<QLineEdit*>(shown.ui.widget(Text2(0)));
        QLineEdit plain(ticker->parentWidget());
        plain.setGeometry(ticker->geometry());
        plain.setStyle(ticker->style());
        plain.setFont(ticker->font());
        plain.setPalette(ticker->palette());
        plain.setAutoFillBackground(ticker->autoFillBackground());
        plain.setAlignment(ticker->alignment());
        plain.setReadOnly(true);
        const ControlDesign& lengths = controlDesign(List1(0), ControlKind::ListBox);
        const ControlDesign& messages = controlDesign(List1(1), ControlKind::ListBox);
        int compared = 0;
        for (const TextView length : lengths.rows) {
            for (const TextView message : messages.rows) {
                const QString twice = qText(message) + QLatin1Char(' ') + qText(message);
                for (qsizetype at = 0; at + 1 < qText(message).size(); ++at) {
                    const QString slice = twice.mid(at, qText(length).toInt());
                    ticker->setText(slice);
                    plain.setText(slice);
                    QVERIFY2(ticker->grab().toImage() == plain.grab().toImage(), qPrintable(slice));
                    ++compared;
                }
            }
        }
        QCOMPARE(compared, 5 * (45 + 32 + 28));
    }

    // QLineEdit finds the character under the mouse by where it last drew the text itself; the
    // ticker draws its text on its own, and a double-click must still take the word under the
    // mouse, not the one where a left-aligned text would be.
    void tickerDoubleClickTakesTheWordUnderTheMouse() {
        ShownWindow shown;
        QVERIFY(shown.exposed);
        auto* ticker = static_cast<QLineEdit*>(shown.ui.widget(Text2(0)));
        ticker->repaint();
        const QString text = ticker->text();
        const QFontMetrics metrics = ticker->fontMetrics();
        const int left = (ticker->width() - metrics.horizontalAdvance(text)) / 2;
        const QString before = text.left(text.indexOf(QStringLiteral("изненади")) + 4);
        const QPoint at(left + metrics.horizontalAdvance(before), ticker->height() / 2);
        QTest::mouseDClick(ticker, Qt::LeftButton, {}, at);
        QCOMPARE(ticker->selectedText(), QStringLiteral("изненади"));
    }

    void absentElementIsRuntimeError() {
        qt::QtToolkit ui;
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ui.setVisible(Picture1(8), true));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ui.widget(Timer1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ui.setText(Label1(0), U"x"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ui.setListIndex(List1(0), 5));
    }
};

QTEST_MAIN(QtWindowTest)
#include "qt_window_test.moc"
