#pragma once

// A picture box: a borderless child window of our own class, filled with its background colour,
// showing a drawing that dots are put into. With AutoRedraw on, the drawing persists while the
// box is hidden and shows again with it; with it off, hiding the box loses the drawing.

#include "base_window.h"
#include "win32_handles.h"

namespace lumora::win32 {

class PictureBox : public BaseWindow<PictureBox> {
public:
    static constexpr wchar_t className[] = L"LumoraPictureBox";

    PictureBox(HWND parent, COLORREF background, bool visible);
    ~PictureBox() { detach(window_.get()); }
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND handle() const { return window_.get(); }
    COLORREF background() const { return background_; }
    void setAutoRedraw(bool on) { autoRedraw_ = on; }
    void setVisible(bool visible);
    // Diameter of later dots, in device pixels.
    void setDotDiameter(int pixels) { dotDiameter_ = pixels; }
    // A filled round dot centred on (x, y) device pixels from the top-left corner.
    void drawDot(double x, double y, COLORREF colour);
    // The box's size changed (a new DPI): the drawing starts afresh at the new size.
    void resized() { forgetDrawing(); }

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
    bool autoRedraw_ = false;
    int dotDiameter_ = 1;
    // Declared in this order so that the DC goes before the bitmap selected into it.
    GdiObject<HBITMAP> drawing_;
    MemoryDc drawingDc_;
    WindowHandle window_;
};

} // namespace lumora::win32
