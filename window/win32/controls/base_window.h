#pragma once

// The base of each of our window classes, as the Windows samples write it: one window procedure
// per class, registered on first use; the object passed through CreateWindowExW and stored at
// WM_NCCREATE, so that every message from then on reaches its member handleMessage. A class
// derives as `class Box : public BaseWindow<Box>` and gives `className` and handleMessage.

#include <windows.h>

namespace lumora::win32 {

template <typename Derived> class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;

    // Creates the window of the class, which reaches this object from its first message on.
    HWND create(const wchar_t* text, DWORD style, HWND parent, HINSTANCE instance) {
        WNDCLASSEXW windowClass{};
        if (!GetClassInfoExW(instance, Derived::className, &windowClass)) {
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = &BaseWindow::procedure;
            windowClass.hInstance = instance;
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.lpszClassName = Derived::className;
            RegisterClassExW(&windowClass);
        }
        return CreateWindowExW(0, Derived::className, text, style, CW_USEDEFAULT, CW_USEDEFAULT, 0,
                               0, parent, nullptr, instance, static_cast<Derived*>(this));
    }

    // The object is going: its window's messages reach it no more.
    static void detach(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY) {
            detach(window);
        }
        // Messages before WM_NCCREATE, and after the object went, are the system's to answer.
        return self != nullptr ? self->handleMessage(window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
    }
};

} // namespace lumora::win32
