#include "picture_canvas.h"

#include "toolkit.h"

#include <cmath>
#include <numbers>

namespace lumora::web {

using emscripten::val;

PictureCanvas::PictureCanvas(val canvas, int width, int height)
    : canvas_(std::move(canvas)), context_(val::null()), width_(width), height_(height) {
    sizeBackingStore(val::global("devicePixelRatio").as<double>());
}

// Which also clears it, and resets its context's drawing state.
void PictureCanvas::sizeBackingStore(double ratio) {
    canvas_.set("width", static_cast<int>(std::lround(width_ * ratio)));
    canvas_.set("height", static_cast<int>(std::lround(height_ * ratio)));
    if (!context_.isNull()) {
        drawInCssPixels();
    }
}

// Drawn in CSS pixels, onto a backing store of `ratio` device pixels to each.
void PictureCanvas::drawInCssPixels() {
    const double ratio = canvas_["width"].as<double>() / width_;
    context_.call<void>("setTransform", ratio, 0, 0, ratio, 0, 0);
}

val& PictureCanvas::context() {
    if (context_.isNull()) {
        context_ = canvas_.call<val>("getContext", std::string("2d"));
        drawInCssPixels();
    }
    return context_;
}

void PictureCanvas::clear() {
    if (!context_.isNull()) {
        context_.call<void>("clearRect", 0, 0, width_, height_);
    }
}

void PictureCanvas::drawDot(double x, double y, int diameter, Colour colour) {
    val& canvas = context();
    canvas.set("fillStyle", hexColour(colour));
    canvas.call<void>("beginPath");
    canvas.call<void>("arc", x, y, diameter / 2.0, 0, 2 * std::numbers::pi);
    canvas.call<void>("fill");
}

} // namespace lumora::web
