#include "picture_box.h"

#include "win32_colour.h"

#include <cmath>

namespace lumora::win32 {
PictureBox::PictureBox(HWND parent, Colour background, bool visible, SolidBrushes& brushes)
    : background_(background), brushes_(brushes) {
    window_.reset(create(L"", WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0), parent,
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE))));
}

HDC PictureBox::drawingDc() {
    if (!drawing_) {
        RECT area{};
        GetClientRect(window_.get(), &area);
        const HDC screen = GetDC(window_.get());
        drawingDc_.reset(CreateCompatibleDC(screen));
        drawing_.reset(CreateCompatibleBitmap(screen, area.right, area.bottom));
        ReleaseDC(window_.get(), screen);
        SelectObject(drawingDc_.get(), drawing_.get());
        FillRect(drawingDc_.get(), &area, brushes_.of(background_));
    }
    return drawingDc_.get();
}

void PictureBox::setShown(bool shown) {
    ShowWindow(window_.get(), shown ? SW_SHOWNA : SW_HIDE);
}

void PictureBox::clear() {
    drawingDc_.reset(); // first the DC, which lets go of the bitmap
    drawing_.reset();
    InvalidateRect(window_.get(), nullptr, FALSE);
}

void PictureBox::drawDot(double x, double y, int diameter, Colour colour) {
    const HDC dc = drawingDc();
    // Whole pixels, without blending, so that the same dot drawn again stays exactly as it was.
    const int left = static_cast<int>(std::lround(x - diameter / 2.0));
    const int top = static_cast<int>(std::lround(y - diameter / 2.0));
    {
        const Selection pen(dc, GetStockObject(NULL_PEN));
        const Selection fill(dc, brushes_.of(colour));
        // With no pen, Ellipse leaves out the right and bottom edges of its box.
        Ellipse(dc, left, top, left + diameter + 1, top + diameter + 1);
    }
    const RECT dirty{left, top, left + diameter, top + diameter};
    InvalidateRect(window_.get(), &dirty, FALSE);
}

void PictureBox::paint(HDC dc) const {
    RECT area{};
    GetClientRect(window_.get(), &area);
    if (drawing_) {
        BitBlt(dc, 0, 0, area.right, area.bottom, drawingDc_.get(), 0, 0, SRCCOPY);
    } else {
        FillRect(dc, &area, brushes_.of(background_));
    }
}

LRESULT PictureBox::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        paint(BeginPaint(window, &ps));
        EndPaint(window, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace lumora::win32
