#include "picture_canvas.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace lumora::web {

using emscripten::val;

std::string cssColour(Colour colour) {
    char css[8];
    std::snprintf(css, sizeof css, "#%06x", static_cast<unsigned>(colour & 0xFFFFFFu));
    return css;
}

PictureCanvas::PictureCanvas(val canvas, int width, int height)
    : canvas_(std::move(canvas)), context_(val::null()), width_(width), height_(height) {
    const double ratio = val::global("devicePixelRatio").as<double>();
    canvas_.set("width", static_cast<int>(std::lround(width * ratio)));
    canvas_.set("height", static_cast<int>(std::lround(height * ratio)));
}

val& PictureCanvas::context() {
    if (context_.isNull()) {
        context_ = canvas_.call<val>("getContext", std::string("2d"));
        // Drawn in CSS pixels; the backing store holds `ratio` device pixels to each.
        const double ratio = canvas_["width"].as<double>() / width_;
        context_.call<void>("scale", ratio, ratio);
    }
    return context_;
}

void PictureCanvas::setShown(bool shown) {
    canvas_.set("hidden", !shown);
    if (!shown && !autoRedraw_ && !context_.isNull()) {
        context_.call<void>("clearRect", 0, 0, width_, height_);
    }
}

void PictureCanvas::drawDot(double x, double y, Colour colour) {
    val& canvas = context();
    canvas.set("fillStyle", cssColour(colour));
    canvas.call<void>("beginPath");
    canvas.call<void>("arc", x, y, dotDiameter_ / 2.0, 0, 2 * std::numbers::pi);
    canvas.call<void>("fill");
}

} // namespace lumora::web
