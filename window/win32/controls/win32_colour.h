#pragma once

// The program's colours as Windows takes them.

#include "toolkit.h"
#include "win32_handles.h"

#include <windows.h>

#include <map>

namespace lumora::win32 {

// The program's 0xRRGGBB as Windows takes a colour: 0x00BBGGRR.
inline COLORREF colorRef(Colour colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

// One solid brush per colour, made on first use and kept for the window's life: the window
// paints with a handful of colours, again and again.
class SolidBrushes {
public:
    HBRUSH of(Colour colour) {
        GdiObject<HBRUSH>& owned = brushes_[colour];
        if (!owned) {
            owned.reset(CreateSolidBrush(colorRef(colour)));
        }
        return owned.get();
    }

private:
    std::map<Colour, GdiObject<HBRUSH>> brushes_;
};

} // namespace lumora::win32
