#include "ticker_box.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionFrame>

namespace lumora::qt {
namespace {

// QLineEdit's own spacing between its contents rectangle and its text.
constexpr int horizontalMargin = 2;

// Slices of one message at one length are a few dozen; a new message or length brings new ones.
constexpr std::size_t slicesKept = 256;

} // namespace

const TickerBox::Slice& TickerBox::laidOut(const QString& text) {
    if (slices_.size() >= slicesKept) {
        slices_.clear();
    }
    auto [at, added] = slices_.try_emplace(text);
    Slice& slice = at->second;
    if (added) {
        slice.layout.setText(text);
        slice.layout.setFont(font());
        QTextOption option = slice.layout.textOption();
        option.setTextDirection(Qt::LeftToRight);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        slice.layout.setTextOption(option);
        slice.layout.setCacheEnabled(true);
        slice.layout.beginLayout();
        const QTextLine line = slice.layout.createLine();
        slice.layout.endLayout();
        slice.ascent = qRound(line.ascent());
        slice.width = qRound(line.naturalTextWidth());
        const QFontMetrics metrics = fontMetrics();
        slice.height = qMax(metrics.boundingRect(text).height(), metrics.height());
    }
    return slice;
}

void TickerBox::paintEvent(QPaintEvent* event) {
    const QString shown = text();
    if (asLineEdit_ || shown.isEmpty() || hasFocus() || hasSelectedText() || !isReadOnly() ||
        echoMode() != Normal || layoutDirection() != Qt::LeftToRight || shown.isRightToLeft() ||
        !textMargins().isNull() || (alignment() & Qt::AlignVertical_Mask) != Qt::AlignVCenter) {
        QLineEdit::paintEvent(event);
        return;
    }
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    const Slice& slice = laidOut(shown);
    const QRect line(contents.x() + horizontalMargin,
                     contents.y() + (contents.height() - slice.height + 1) / 2,
                     contents.width() - 2 * horizontalMargin, slice.height);
    const int widthUsed = slice.width + 1;
    if (widthUsed > line.width()) {
        QLineEdit::paintEvent(event); // scrolled to the caret, which QLineEdit keeps
        return;
    }
    int indent = 0;
    if (alignment() & Qt::AlignRight) {
        indent = widthUsed - line.width() + 1;
    } else if (alignment() & Qt::AlignHCenter) {
        indent = (widthUsed - line.width()) / 2;
    }

    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);
    painter.setClipRect(contents);
    painter.setPen(palette().text().color());
    const QPoint topLeft = line.topLeft() - QPoint(indent, slice.ascent - fontMetrics().ascent());
    slice.layout.draw(&painter, topLeft, {}, contents);
}

void TickerBox::placeTextAsLineEdit() {
    asLineEdit_ = true;
    QPixmap scratch(size());
    render(&scratch);
    asLineEdit_ = false;
}

void TickerBox::mousePressEvent(QMouseEvent* event) {
    placeTextAsLineEdit();
    QLineEdit::mousePressEvent(event);
}

void TickerBox::mouseDoubleClickEvent(QMouseEvent* event) {
    placeTextAsLineEdit();
    QLineEdit::mouseDoubleClickEvent(event);
}

void TickerBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        slices_.clear();
    }
    QLineEdit::changeEvent(event);
}

} // namespace lumora::qt
