#include "picture_box.h"

#include <QAccessibleWidget>
#include <QPaintEvent>
#include <QPainter>

namespace lumora::qt {

PictureBox::PictureBox(QColor background, QWidget* parent) : QWidget(parent) {
    QPalette colours = palette();
    colours.setColor(QPalette::Window, background);
    setPalette(colours);
    // The box paints every pixel of itself, background and drawing in one image, so nothing
    // under it is painted first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QImage& PictureBox::drawing() {
    const qreal ratio = devicePixelRatioF();
    if (drawing_.isNull()) {
        drawing_ = QImage(size() * ratio, QImage::Format_RGB32);
        drawing_.setDevicePixelRatio(ratio);
        drawing_.fill(background());
    }
    return drawing_;
}

void PictureBox::clear() {
    drawing_ = QImage();
    update();
}

void PictureBox::drawDot(double x, double y, int diameter, Colour rgb) {
    const QPointF centre(x, y);
    const QColor colour = QColor::fromRgb(static_cast<QRgb>(rgb));
    const qreal radius = diameter / 2.0;
    {
        // Without antialiasing, drawing the same dot again leaves it exactly as it was;
        // blended edges would harden a little with every repeat.
        QPainter painter(&drawing());
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawEllipse(centre, radius, radius);
    }
    update(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

QAccessibleInterface* PictureBox::accessibleInterface(const QString&, QObject* object) {
    auto* box = dynamic_cast<PictureBox*>(object);
    return box != nullptr ? new QAccessibleWidget(box, QAccessible::Graphic) : nullptr;
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (drawing_.isNull()) {
        painter.fillRect(rect(), background());
    } else {
        painter.drawImage(QPointF(0, 0), drawing_);
    }
}

} // namespace lumora::qt
