#pragma once

// A picture box in the page: a canvas filled with its background colour, whose drawing keeps the
// dots put into it. Its backing store has the screen's device pixels (devicePixelRatio), so dots
// stay crisp on high-density screens; the toolkit draws the dots again at a new ratio, when the
// visitor zooms or the window moves to another screen.

#include "picture_surface.h"
#include "screen_layout.h"

#include <emscripten/val.h>

namespace lumora::web {

class PictureCanvas final : public PictureSurface {
public:
    // `canvas` is laid out already, `width` x `height` CSS pixels.
    PictureCanvas(emscripten::val canvas, int width, int height);

    // In CSS pixels; the browser scales them to the screen.
    Scale scale() const override { return Scale::atDpi(designDpi); }
    void setShown(bool shown) override { canvas_.set("hidden", !shown); }
    void clear() override;
    void drawDot(double x, double y, int diameter, Colour colour) override;

    // The screen's device pixels per CSS pixel changed: the backing store, cleared, at `ratio`.
    void setPixelRatio(double ratio) { sizeBackingStore(ratio); }

private:
    void sizeBackingStore(double ratio);
    void drawInCssPixels();

    // The 2D context, made on the first dot: a context costs the page's start-up several
    // milliseconds, and boxes that never show a dot never need one.
    emscripten::val& context();

    emscripten::val canvas_;
    emscripten::val context_;
    int width_;
    int height_;
};

} // namespace lumora::web
