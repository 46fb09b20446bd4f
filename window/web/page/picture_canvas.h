#pragma once

// A picture box in the page: a canvas filled with its background colour, whose drawing keeps the
// dots put into it. Its backing store has the screen's device pixels (devicePixelRatio), so dots
// stay crisp on high-density screens, and is drawn again at a new ratio when the visitor zooms or
// the window moves to another screen. With AutoRedraw on, the drawing persists while the box is
// hidden and shows again with it; with it off, hiding the box loses the drawing.

#include "picture_surface.h"
#include "screen_layout.h"

#include <emscripten/val.h>

#include <vector>

namespace lumora::web {

class PictureCanvas final : public PictureSurface {
public:
    // `canvas` is laid out already, `width` x `height` CSS pixels.
    PictureCanvas(emscripten::val canvas, int width, int height);

    // In CSS pixels; the browser scales them to the screen.
    Scale scale() const override { return Scale::atDpi(designDpi); }
    void setShown(bool shown) override;
    void setAutoRedraw(bool on) override { autoRedraw_ = on; }
    void setDotDiameter(int pixels) override { dotDiameter_ = pixels; }
    void drawDot(double x, double y, Colour colour) override;

    // The screen's device pixels per CSS pixel changed: the drawing again, at `ratio`.
    void setPixelRatio(double ratio);

private:
    struct Dot {
        double x;
        double y;
        int diameter;
        Colour colour;
        bool operator==(const Dot&) const = default;
    };

    void sizeBackingStore(double ratio);
    void drawInCssPixels();
    void paint(const Dot& dot);

    // The 2D context, made on the first dot: a context costs the page's start-up several
    // milliseconds, and boxes that never show a dot never need one.
    emscripten::val& context();

    emscripten::val canvas_;
    emscripten::val context_;
    int width_;
    int height_;
    bool autoRedraw_ = false;
    int dotDiameter_ = 1;
    // The drawing, to draw again at another ratio. A dot the same as the last one changes no
    // pixel, so it is neither drawn nor kept again: a lamp draws its one dot at every lighting.
    std::vector<Dot> dots_;
};

} // namespace lumora::web
