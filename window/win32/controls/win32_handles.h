#pragma once

// Owners for the handles Windows hands out, so that every GDI object, memory DC and window is
// released exactly once, when its owner goes.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace lumora::win32 {

struct GdiObjectRelease {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconRelease {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct MemoryDcRelease {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
// A child window goes with its parent, and a window closed by the user is gone already.
struct WindowRelease {
    void operator()(HWND window) const {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
};

template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectRelease>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconRelease>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcRelease>;
using WindowHandle = std::unique_ptr<std::remove_pointer_t<HWND>, WindowRelease>;

// A GDI object selected into a DC for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace lumora::win32
