#pragma once

#include "picture_surface.h"
#include "screen_layout.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QAccessibleInterface;

namespace lumora::qt {

// A borderless box filled with its background colour, that dots are drawn into. Once drawn
// into, the box is one opaque image of its background and its dots, kept while the box is hidden.
// The image has the screen's device pixel ratio, so dots stay round and sharp on high-DPI
// screens. Its pixels are device-independent: Qt scales them to the screen.
class PictureBox final : public QWidget, public PictureSurface {
public:
    PictureBox(QColor background, QWidget* parent);

    QColor background() const { return palette().color(QPalette::Window); }

    Scale scale() const override { return Scale::atDpi(designDpi); }
    void setShown(bool shown) override { setVisible(shown); }
    void clear() override;
    void drawDot(double x, double y, int diameter, Colour colour) override;

    // For QAccessible::installFactory: presents picture boxes to screen readers as graphics.
    static QAccessibleInterface* accessibleInterface(const QString& className, QObject* object);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The drawing, allocated at the box's size on the first dot.
    QImage& drawing();

    QImage drawing_;
};

} // namespace lumora::qt
