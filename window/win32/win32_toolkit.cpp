#include "win32_toolkit.h"

#include "base_window.h"
#include "control_windows.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "win32_colour.h"
#include "win32_handles.h"
#include "win32_text.h"
#include "window_design.h"
#include "window_timer.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace lumora::win32 {

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; // fixed, no min or max

// Windows 10's per-monitor DPI functions, looked up at run time so that the program still starts
// (at the system DPI) where they are absent.
template <typename Function> Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int dpiOf(HWND window) {
    if (const auto getDpiForWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        return static_cast<int>(getDpiForWindow(window));
    }
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

int systemMetric(int index, int dpi) {
    if (const auto forDpi = user32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi")) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

void adjustWindowRect(RECT& rect, int dpi) {
    if (const auto adjust = user32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
            "AdjustWindowRectExForDpi")) {
        adjust(&rect, windowStyle, FALSE, 0, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&rect, windowStyle, FALSE, 0);
    }
}

} // namespace

// The main window: sized, titled and given its icons at its DPI; its controls' colours and its
// background; the messages of its controls and its timer, passed on to the toolkit.
struct Win32Toolkit::Window : BaseWindow<Window> {
    static constexpr wchar_t className[] = L"LumoraWindow";

    Win32Toolkit& owner;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int dpi = 96;
    SolidBrushes brushes;
    // The program's icon at the sizes the title bar and the task bar ask for at this DPI.
    Icon bigIcon;
    Icon smallIcon;
    // Made once `main` is.
    std::optional<WindowTimer> timer;
    std::optional<ControlWindows> controls;
    WindowHandle main; // last, so that the windows go before what they draw with

    explicit Window(Win32Toolkit& owner);
    // Destroyed by its owner rather than closed by the user, the window ends no message loop.
    ~Window() { detach(main.get()); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // The window's size and icons, and its controls, at the current DPI.
    void layout();
    void fail(const RuntimeError& error);

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND hwnd, int id, HWND control, UINT code);
    void onTimer(HWND hwnd, UINT id);
    HBRUSH onControlColour(HWND hwnd, HDC dc, HWND control, int type);
    BOOL onEraseBackground(HWND hwnd, HDC dc);
    void onDpiChanged(HWND hwnd, int dpi, const RECT& suggested);
    void onDestroy(HWND hwnd);
};

Win32Toolkit::Window::Window(Win32Toolkit& owner) : owner(owner) {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    main.reset(create(wideText(windowDesign().caption).c_str(), windowStyle, nullptr, instance));
    timer.emplace(main.get());
    dpi = dpiOf(main.get());
    controls.emplace(main.get(), brushes);
    for (std::size_t position = 0; position < controlDesigns().size(); ++position) {
        if (PictureBox* const picture = controls->picture(position)) {
            owner.attachPicture(position, *picture);
        }
    }
    layout();
}

void Win32Toolkit::Window::layout() {
    const WindowDesign& design = windowDesign();
    RECT outer{0, 0, pixels(design.innerWidth, dpi), pixels(design.innerHeight, dpi)};
    adjustWindowRect(outer, dpi);
    SetWindowPos(main.get(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto loadIcon = [this](int metric) {
        const int size = systemMetric(metric, dpi);
        // The first icon of the program's resources, at the size nearest to this one.
        return Icon(static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
    };
    bigIcon = loadIcon(SM_CXICON);
    smallIcon = loadIcon(SM_CXSMICON);
    SendMessageW(main.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon.get()));
    SendMessageW(main.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
    controls->layout(dpi);
    // The picture boxes start afresh at their new size: what they held is drawn again.
    for (std::size_t position = 0; position < controlDesigns().size(); ++position) {
        if (controls->picture(position) != nullptr) {
            owner.pictureRescaled(position);
        }
    }
    InvalidateRect(main.get(), nullptr, TRUE);
}

void Win32Toolkit::Window::fail(const RuntimeError& error) {
    const std::wstring text = wideFromUtf8(error.report() + "\n\n" + RuntimeError::endsTheProgram);
    MessageBoxW(main.get(), text.c_str(), L"Lumora", MB_OK | MB_ICONERROR);
    PostQuitMessage(runtimeErrorStatus);
}

void Win32Toolkit::Window::onCommand(HWND, int id, HWND, UINT code) {
    const auto designs = controlDesigns();
    const std::size_t position = static_cast<std::size_t>(id) - 1;
    if (position >= designs.size()) {
        return;
    }
    const ControlKind kind = designs[position].kind;
    if (kind == ControlKind::ListBox && code == LBN_SELCHANGE) {
        const int row = ListBox_GetCurSel(controls->handle(position));
        if (row != LB_ERR) {
            owner.userChoseRow(position, row);
        }
    } else if (kind == ControlKind::OptionButton && code == BN_CLICKED) {
        owner.userChoseOption(position);
    }
}

void Win32Toolkit::Window::onTimer(HWND, UINT id) {
    if (id == WindowTimer::id) {
        owner.wakeTimers();
    }
}

// The colour of a control the design colours, or none for the system's own.
HBRUSH Win32Toolkit::Window::onControlColour(HWND, HDC dc, HWND child, int) {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(child));
    const auto designs = controlDesigns();
    if (id == 0 || id > designs.size()) {
        return nullptr;
    }
    const ControlDesign& design = designs[id - 1];
    if (design.background) {
        SetBkColor(dc, colorRef(*design.background));
        return brushes.of(*design.background);
    }
    if (design.kind == ControlKind::TextBox) {
        // A read-only edit control asks for a static text's colours, the dialog's grey; a text
        // box keeps an edit control's own, as it does on every other screen.
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return GetSysColorBrush(COLOR_WINDOW);
    }
    return nullptr;
}

BOOL Win32Toolkit::Window::onEraseBackground(HWND hwnd, HDC dc) {
    RECT area{};
    GetClientRect(hwnd, &area);
    FillRect(dc, &area, brushes.of(windowDesign().background));
    // A group box draws only its border and caption; its inside is the window's to fill.
    const auto designs = controlDesigns();
    for (std::size_t position = 0; position < designs.size(); ++position) {
        if (designs[position].kind == ControlKind::Frame && designs[position].background) {
            const PixelRect r = pixelRect(designs[position].bounds, dpi);
            const RECT frame{r.left, r.top, r.left + r.width, r.top + r.height};
            FillRect(dc, &frame, brushes.of(*designs[position].background));
        }
    }
    return TRUE;
}

void Win32Toolkit::Window::onDpiChanged(HWND hwnd, int newDpi, const RECT& suggested) {
    dpi = newDpi;
    SetWindowPos(hwnd, nullptr, suggested.left, suggested.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layout();
}

void Win32Toolkit::Window::onDestroy(HWND) {
    PostQuitMessage(0); // the user closed the window: the program ends
}

LRESULT Win32Toolkit::Window::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        HANDLE_MSG(hwnd, WM_COMMAND, onCommand);
        HANDLE_MSG(hwnd, WM_TIMER, onTimer);
        HANDLE_MSG(hwnd, WM_ERASEBKGND, onEraseBackground);
        HANDLE_MSG(hwnd, WM_DESTROY, onDestroy);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        if (const HBRUSH chosen = onControlColour(hwnd, reinterpret_cast<HDC>(wParam),
                                                  reinterpret_cast<HWND>(lParam), 0)) {
            return reinterpret_cast<LRESULT>(chosen);
        }
        break;
    case WM_DPICHANGED:
        onDpiChanged(hwnd, HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Win32Toolkit::Win32Toolkit(TimerGroup::Clock clock)
    : DesignedToolkit(std::move(clock)), window_(std::make_unique<Window>(*this)) {}

Win32Toolkit::~Win32Toolkit() = default;

int Win32Toolkit::deliverEvents() {
    const HWND main = window_->main.get();
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    const std::vector<std::size_t> order = focusOrder();
    if (!order.empty()) {
        SetFocus(window_->controls->handle(order.front()));
    }
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(main, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

void Win32Toolkit::showRow(std::size_t position, int row) {
    ListBox_SetCurSel(window_->controls->handle(position), row);
}

void Win32Toolkit::showChecked(std::size_t position, bool checked) {
    Button_SetCheck(window_->controls->handle(position), checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Toolkit::showText(std::size_t position, TextView text) {
    SetWindowTextW(window_->controls->handle(position), wideText(text).c_str());
}

void Win32Toolkit::wakeAfter(std::optional<TimerGroup::Duration> delay) {
    window_->timer->wait(delay);
}

void Win32Toolkit::fail(const RuntimeError& error) {
    window_->fail(error);
}

HWND Win32Toolkit::window() const {
    return window_->main.get();
}

HWND Win32Toolkit::control(ControlId id) const {
    return window_->controls->handle(windowedPosition(id));
}

int Win32Toolkit::dpi() const {
    return window_->dpi;
}

} // namespace lumora::win32
