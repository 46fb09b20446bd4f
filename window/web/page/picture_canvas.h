#pragma once

// A picture box in the page: a canvas filled with its background colour, whose drawing keeps the
// dots put into it. Its backing store has the screen's device pixels (devicePixelRatio), so dots
// stay crisp on high-density screens. With AutoRedraw on, the drawing persists while the box is
// hidden and shows again with it; with it off, hiding the box loses the drawing.

#include "toolkit.h"

#include <emscripten/val.h>

namespace lumora::web {

class PictureCanvas {
public:
    // `canvas` is laid out already, `width` x `height` CSS pixels.
    PictureCanvas(emscripten::val canvas, int width, int height);

    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    void setVisible(bool visible);
    // Diameter of later dots, in CSS pixels.
    void setDotDiameter(int pixels) { dotDiameter_ = pixels; }
    // A filled round dot centred on (x, y) CSS pixels from the top-left corner.
    void drawDot(double x, double y, Colour colour);

private:
    // The 2D context, made on the first dot: a context costs the page's start-up several
    // milliseconds, and boxes that never show a dot never need one.
    emscripten::val& context();

    emscripten::val canvas_;
    emscripten::val context_;
    int width_;
    int height_;
    bool autoRedraw_ = false;
    int dotDiameter_ = 1;
};

// "#rrggbb", as CSS and the canvas take a colour.
std::string cssColour(Colour colour);

} // namespace lumora::web
