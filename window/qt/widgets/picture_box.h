#pragma once

#include "picture_surface.h"
#include "screen_layout.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <optional>

class QAccessibleInterface;

namespace lumora::qt {

// A borderless box filled with its background colour, that dots are drawn into. Once drawn
// into, the box is one opaque image of its background and its dots. With AutoRedraw on, the
// image persists while the box is hidden and shows again with it; with it off, hiding the box
// loses the drawing. The image has the screen's device pixel ratio, so dots stay round and sharp
// on high-DPI screens. Its pixels are device-independent: Qt scales them to the screen.
class PictureBox final : public QWidget, public PictureSurface {
public:
    PictureBox(QColor background, QWidget* parent);

    QColor background() const { return palette().color(QPalette::Window); }

    Scale scale() const override { return Scale::atDpi(designDpi); }
    void setShown(bool shown) override { setVisible(shown); }
    void setAutoRedraw(bool on) override { autoRedraw_ = on; }
    void setDotDiameter(int pixels) override { drawWidth_ = pixels; }
    void drawDot(double x, double y, Colour colour) override;

    // For QAccessible::installFactory: presents picture boxes to screen readers as graphics.
    static QAccessibleInterface* accessibleInterface(const QString& className, QObject* object);

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The drawing, allocated at the box's size on the first dot.
    QImage& drawing();

    struct Dot {
        QPointF centre;
        int width = 0;
        QColor colour;
        bool operator==(const Dot&) const = default;
    };

    QImage drawing_;
    // The last dot drawn into the drawing, if the drawing still holds it. The lamps draw the
    // same dot at every lighting; drawing it again would change no pixel.
    std::optional<Dot> lastDot_;
    bool autoRedraw_ = false;
    int drawWidth_ = 1;
};

} // namespace lumora::qt
