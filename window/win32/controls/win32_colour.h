#pragma once

#include "toolkit.h"

#include <windows.h>

namespace lumora::win32 {

// The program's 0xRRGGBB as Windows takes a colour: 0x00BBGGRR.
inline COLORREF colorRef(Colour colour) {
    return RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

} // namespace lumora::win32
