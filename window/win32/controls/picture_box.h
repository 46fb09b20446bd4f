#pragma once

// A picture box: a borderless child window of our own class, filled with its background colour,
// showing a drawing that dots are put into. With AutoRedraw on, the drawing persists while the
// box is hidden and shows again with it; with it off, hiding the box loses the drawing.

#include "base_window.h"
#include "picture_surface.h"
#include "win32_handles.h"

namespace lumora::win32 {

class PictureBox final : public BaseWindow<PictureBox>, public PictureSurface {
public:
    static constexpr wchar_t className[] = L"LumoraPictureBox";

    PictureBox(HWND parent, COLORREF background, bool visible);
    ~PictureBox() { detach(window_.get()); }
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND handle() const { return window_.get(); }
    COLORREF background() const { return background_; }
    // In device pixels, at the window's DPI.
    Scale scale() const override { return Scale::atDpi(dpi_); }
    void setShown(bool shown) override;
    void setAutoRedraw(bool on) override { autoRedraw_ = on; }
    void setDotDiameter(int pixels) override { dotDiameter_ = pixels; }
    void drawDot(double x, double y, Colour colour) override;
    // The box was laid out at `dpi`: the drawing starts afresh at the new size.
    void resized(int dpi) {
        dpi_ = dpi;
        forgetDrawing();
    }

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint(HDC dc) const;
    // The drawing, made at the box's size with its background on first use.
    HDC drawingDc();
    void forgetDrawing() {
        drawingDc_.reset(); // first the DC, which lets go of the bitmap
        drawing_.reset();
    }

    COLORREF background_;
    GdiObject<HBRUSH> backgroundBrush_;
    int dpi_ = 96;
    bool autoRedraw_ = false;
    int dotDiameter_ = 1;
    // Declared in this order so that the DC goes before the bitmap selected into it.
    GdiObject<HBITMAP> drawing_;
    MemoryDc drawingDc_;
    WindowHandle window_;
};

} // namespace lumora::win32
