#include "qt_toolkit.h"

#include "cached_panel_style.h"
#include "picture_box.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "ticker_box.h"
#include "window_design.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>

#include <vector>

namespace lumora::qt {
namespace {

// Qt scales device-independent pixels to the screen itself: the design is laid out at 96 dpi.

QRect qRect(const TwipRect& twips) {
    const PixelRect r = pixelRect(twips, designDpi);
    return {r.left, r.top, r.width, r.height};
}

QColor qColour(Colour colour) {
    return QColor::fromRgb(static_cast<QRgb>(colour));
}

QString qText(TextView text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

QString qMultiLineText(TextView text) {
    return qText(withLineFeeds(text));
}

QString objectName(const ControlDesign& design) {
    return QString::fromStdString(controlName({design.name, design.index}));
}

// Fills the role the widget paints its background with: Window for labels and frames, Button for
// option buttons, Base for text boxes.
void fillBackground(QWidget* widget, std::optional<Colour> colour) {
    if (!colour) {
        return;
    }
    QPalette palette = widget->palette();
    palette.setColor(widget->backgroundRole(), qColour(*colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

struct QtToolkit::Widgets {
    explicit Widgets(QtToolkit& owner) : owner(owner) {}

    QtToolkit& owner;
    std::unique_ptr<QWidget> window;
    // One per entry of controlDesigns(), owned by `window`; none for a timer.
    std::vector<QWidget*> objects;
    // The one timer that wakes the design's timers: precise, as their 200 ms rhythm asks.
    QTimer wake;

    template <typename Widget> Widget* at(std::size_t position) const {
        return static_cast<Widget*>(objects[position]);
    }

    QWidget* create(const ControlDesign& design, QWidget* parent);
    void connectLabels();
    void orderFocus();
    // Shows the error and ends the event loop.
    void fail(const RuntimeError& error);
};

void QtToolkit::Widgets::fail(const RuntimeError& error) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Lumora"),
                    QString::fromUtf8(error.report()), QMessageBox::Ok, window.get());
    box.setInformativeText(QString::fromUtf8(RuntimeError::endsTheProgram));
    box.exec();
    QCoreApplication::exit(runtimeErrorStatus);
}

QWidget* QtToolkit::Widgets::create(const ControlDesign& design, QWidget* parent) {
    const std::size_t position = designPosition({design.name, design.index});
    QWidget* widget = nullptr;
    switch (design.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(qText(design.text), parent);
        label->setAlignment(design.centred ? Qt::AlignHCenter | Qt::AlignTop
                                           : Qt::AlignLeft | Qt::AlignTop);
        fillBackground(label, design.background);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        if (design.multiLine) {
            auto* panel = new QPlainTextEdit(qMultiLineText(design.text), parent);
            panel->setReadOnly(design.readOnly);
            if (design.readOnly) {
                // Readable and selectable from the keyboard too, and Tab still moves on.
                panel->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                               Qt::TextSelectableByKeyboard);
            }
            panel->setTabChangesFocus(true);
            panel->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            panel->setWordWrapMode(QTextOption::WordWrap);
            panel->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            panel->setVerticalScrollBarPolicy(design.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAlwaysOff);
            fillBackground(panel, design.background);
            widget = panel;
            break;
        }
        auto* edit = new qt::TickerBox(qText(design.text), parent);
        // Its text changes every tick; its frame never does.
        auto* style = new qt::CachedPanelStyle;
        style->setParent(edit);
        edit->setStyle(style);
        edit->setReadOnly(design.readOnly);
        edit->setAlignment(design.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        QFont font = edit->font();
        font.setBold(design.bold);
        font.setItalic(design.italic);
        edit->setFont(font);
        fillBackground(edit, design.background);
        widget = edit;
        break;
    }
    case ControlKind::ListBox: {
        auto* list = new QListWidget(parent);
        for (const TextView row : design.rows) {
            list->addItem(qText(row));
        }
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(list, &QListWidget::currentRowChanged, list, [this, position](int row) {
            if (row >= 0) {
                owner.userChoseRow(position, row);
            }
        });
        // The user can choose another row but not leave the list with none (Ctrl+click).
        QObject::connect(list, &QListWidget::itemSelectionChanged, list, [list] {
            if (list->selectedItems().isEmpty() && list->currentItem() != nullptr) {
                list->currentItem()->setSelected(true);
            }
        });
        widget = list;
        break;
    }
    case ControlKind::Frame: {
        auto* frame = new QGroupBox(qText(design.text), parent);
        fillBackground(frame, design.background);
        widget = frame;
        break;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(qText(design.text), parent);
        fillBackground(option, design.background);
        QObject::connect(option, &QRadioButton::toggled, option, [this, position](bool checked) {
            if (checked) {
                owner.userChoseOption(position);
            }
        });
        widget = option;
        break;
    }
    case ControlKind::PictureBox: {
        auto* picture = new qt::PictureBox(
            qColour(design.background.value_or(windowDesign().background)), parent);
        picture->setFocusPolicy(Qt::NoFocus);
        owner.attachPicture(position, *picture);
        widget = picture;
        break;
    }
    case ControlKind::Timer:
        return nullptr; // `wake` serves the design's timers
    }
    widget->setObjectName(objectName(design));
    widget->setGeometry(qRect(design.bounds));
    if (!design.accessibleName.empty()) {
        widget->setAccessibleName(qText(design.accessibleName));
    }
    if (!design.visible) {
        widget->hide();
    }
    return widget;
}

void QtToolkit::Widgets::connectLabels() {
    for (const ControlDesign& design : controlDesigns()) {
        if (design.kind == ControlKind::Label && !design.labelFor.name.empty()) {
            auto* label =
                static_cast<QLabel*>(objects[designPosition({design.name, design.index})]);
            QWidget* named = objects[designPosition(design.labelFor)];
            label->setBuddy(named);
            named->setAccessibleName(label->text());
        }
    }
}

void QtToolkit::Widgets::orderFocus() {
    QWidget* previous = nullptr;
    for (const std::size_t position : focusOrder()) {
        QWidget* widget = objects[position];
        if (previous == nullptr) {
            widget->setFocus();
        } else {
            QWidget::setTabOrder(previous, widget);
        }
        previous = widget;
    }
}

QtToolkit::QtToolkit(TimerGroup::Clock clock)
    : DesignedToolkit(std::move(clock)), widgets_(std::make_unique<Widgets>(*this)) {
    widgets_->wake.setSingleShot(true);
    widgets_->wake.setTimerType(Qt::PreciseTimer);
    QObject::connect(&widgets_->wake, &QTimer::timeout, [this] { wakeTimers(); });
    const WindowDesign& design = windowDesign();
    widgets_->window = std::make_unique<QWidget>(
        nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QWidget* window = widgets_->window.get();
    window->setObjectName(QStringLiteral("Lumora"));
    window->setWindowTitle(qText(design.caption));
    const QSize fixedSize(pixels(design.innerWidth, designDpi),
                          pixels(design.innerHeight, designDpi));
    window->setFixedSize(fixedSize);
    // Where the compositor decides (Wayland), a frame may offer maximise although the window
    // asks for a fixed size, and Weston ends a client whose maximised window keeps another
    // size. So while maximised or full screen the window takes the size it is given, its
    // controls staying where the design puts them, and afterwards it is fixed again.
    window->winId(); // the native window exists from here on, so its state can be followed
    QObject::connect(window->windowHandle(), &QWindow::windowStateChanged, window,
                     [window, fixedSize](Qt::WindowState state) {
                         if (state == Qt::WindowMaximized || state == Qt::WindowFullScreen) {
                             window->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
                         } else {
                             window->setFixedSize(fixedSize);
                         }
                     });
    fillBackground(window, design.background);
    QFont font(QString::fromLatin1(design.fontFamily.data(),
                                   static_cast<qsizetype>(design.fontFamily.size())),
               design.fontPoints);
    font.setStyleHint(QFont::Serif);
    window->setFont(font);

    const auto designs = controlDesigns();
    for (const ControlDesign& control : designs) {
        QWidget* parent = window;
        if (!control.container.empty()) {
            parent = widgets_->objects[designPosition({control.container}, ControlKind::Frame)];
        }
        widgets_->objects.push_back(widgets_->create(control, parent));
    }
    widgets_->connectLabels();
    widgets_->orderFocus();
}

QtToolkit::~QtToolkit() = default;

int QtToolkit::deliverEvents() {
    widgets_->window->show();
    return QApplication::exec();
}

void QtToolkit::showRow(std::size_t position, int row) {
    auto* box = widgets_->at<QListWidget>(position);
    const QSignalBlocker programWrite(box);
    box->setCurrentRow(row);
}

// The buttons of a frame are exclusive: checking one unchecks the others.
void QtToolkit::showChecked(std::size_t position, bool checked) {
    if (checked) {
        auto* button = widgets_->at<QRadioButton>(position);
        const QSignalBlocker programWrite(button);
        button->setChecked(true);
    }
}

void QtToolkit::showText(std::size_t position, TextView text) {
    auto* box = widgets_->at<QWidget>(position);
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(qText(text));
    } else {
        static_cast<QPlainTextEdit*>(box)->setPlainText(qMultiLineText(text));
    }
}

void QtToolkit::wakeAfter(std::optional<TimerGroup::Duration> delay) {
    if (delay) {
        // Not before the deadline: a tick that came early would wait a whole interval.
        widgets_->wake.start(std::chrono::ceil<std::chrono::milliseconds>(*delay));
    } else {
        widgets_->wake.stop();
    }
}

void QtToolkit::fail(const RuntimeError& error) {
    widgets_->fail(error);
}

QWidget* QtToolkit::window() const {
    return widgets_->window.get();
}

QWidget* QtToolkit::widget(ControlId id) const {
    return widgets_->objects[windowedPosition(id)];
}

} // namespace lumora::qt
