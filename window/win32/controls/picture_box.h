#pragma once

// A picture box: a borderless child window of our own class, filled with its background colour,
// showing a drawing that dots are put into, kept while the box is hidden. It paints with the
// window's brushes.

#include "base_window.h"
#include "picture_surface.h"
#include "win32_colour.h"
#include "win32_handles.h"

namespace lumora::win32 {

class PictureBox final : public BaseWindow<PictureBox>, public PictureSurface {
public:
    static constexpr wchar_t className[] = L"LumoraPictureBox";

    PictureBox(HWND parent, Colour background, bool visible, SolidBrushes& brushes);
    ~PictureBox() { detach(window_.get()); }
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND handle() const { return window_.get(); }
    // In device pixels, at the window's DPI.
    Scale scale() const override { return Scale::atDpi(dpi_); }
    void setShown(bool shown) override;
    void clear() override;
    void drawDot(double x, double y, int diameter, Colour colour) override;
    // The box was laid out at `dpi`. Its window then has the toolkit's core draw it again
    // (clear(), then its dots), which starts the drawing afresh at the new size.
    void resized(int dpi) { dpi_ = dpi; }

    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint(HDC dc) const;
    // The drawing, made at the box's size with its background on first use.
    HDC drawingDc();

    Colour background_;
    SolidBrushes& brushes_;
    int dpi_ = 96;
    // Declared in this order so that the DC goes before the bitmap selected into it.
    GdiObject<HBITMAP> drawing_;
    MemoryDc drawingDc_;
    WindowHandle window_;
};

} // namespace lumora::win32
