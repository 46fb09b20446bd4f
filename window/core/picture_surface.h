#pragma once

// A picture box as its platform draws it. The design speaks of dots in twips and of their
// diameter in pixels of a 96 dpi screen; the surface draws in pixels of its own, and says how many
// of them make each, so that the conversion is made in one place for every platform.

#include "toolkit.h"

namespace lumora {

class PictureSurface {
public:
    struct Scale {
        double perTwip;
        double perPixel; // per pixel of the design's 96 dpi

        // A surface whose pixels are a screen's at `dpi` (the design's own pixels are 96 dpi).
        static constexpr Scale atDpi(double dpi) { return {dpi / 1440, dpi / 96}; }
    };
    virtual Scale scale() const = 0;
    // Hiding a box that does not keep its drawing loses the drawing.
    virtual void setShown(bool shown) = 0;
    virtual void setAutoRedraw(bool on) = 0;
    // Diameter of later dots, in the surface's pixels, at least 1.
    virtual void setDotDiameter(int pixels) = 0;
    // A filled round dot centred on (x, y) of the surface's pixels from its inner corner.
    virtual void drawDot(double x, double y, Colour colour) = 0;

protected:
    ~PictureSurface() = default;
};

} // namespace lumora
