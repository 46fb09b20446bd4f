#pragma once

// A picture box as its platform draws it. The design speaks of dots in twips and of their
// diameter in pixels of a 96 dpi screen; the surface draws in pixels of its own, and says how many
// of them make each, so that the conversion is made in one place for every platform. What the
// box holds (its dots, AutoRedraw, DrawWidth) the toolkit's core keeps, so that the surface can
// be drawn again whenever its scale changes.

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
    virtual void setShown(bool shown) = 0;
    // The drawing goes: the box shows its background alone.
    virtual void clear() = 0;
    // A filled round dot `diameter` pixels across, centred on (x, y) of the surface's pixels from
    // its inner corner.
    virtual void drawDot(double x, double y, int diameter, Colour colour) = 0;

protected:
    ~PictureSurface() = default;
};

} // namespace lumora
