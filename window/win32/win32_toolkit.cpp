#include "win32_toolkit.h"

#include "base_window.h"
#include "picture_box.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "timer_group.h"
#include "win32_colour.h"
#include "win32_handles.h"
#include "win32_text.h"
#include "window_design.h"
#include "window_timer.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <vector>

namespace lumora {

using win32::BaseWindow;
using win32::colorRef;
using win32::GdiObject;
using win32::Icon;
using win32::PictureBox;
using win32::wideFromUtf8;
using win32::wideText;
using win32::WindowHandle;
using win32::WindowTimer;

namespace {

constexpr DWORD windowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU; // fixed, no min or max
constexpr DWORD childStyle = WS_CHILD | WS_CLIPSIBLINGS;

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

// A read-only text box should not keep Tab and Enter for itself, so that they move on through
// the window as in a dialog.
LRESULT CALLBACK passDialogKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message == WM_GETDLGCODE) {
        return result & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    return result;
}

struct Control {
    HWND handle = nullptr;
    // Screen readers name a standard control by the static text just before it; where the
    // design has no label for it, an empty-sized one carries its name.
    HWND nameLabel = nullptr;
    std::unique_ptr<PictureBox> picture;
    std::size_t timer = 0; // timers: its number in the window's timer group
};

// The design's font at one DPI, in each style a control of the design asks for.
class DesignFonts {
public:
    explicit DesignFonts(int dpi) : dpi_(dpi) {}

    HFONT font(bool bold, bool italic) {
        GdiObject<HFONT>& owned = fonts_[(bold ? 2 : 0) + (italic ? 1 : 0)];
        if (!owned) {
            const WindowDesign& design = windowDesign();
            const std::wstring family(design.fontFamily.begin(), design.fontFamily.end());
            owned.reset(CreateFontW(-MulDiv(design.fontPoints, dpi_, 72), 0, 0, 0,
                                    bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE,
                                    RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_ROMAN, family.c_str()));
        }
        return owned.get();
    }

private:
    int dpi_;
    GdiObject<HFONT> fonts_[4];
};

// One solid brush per colour, made on first use.
class Brushes {
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

} // namespace

// The main window: its controls made and laid out from the design at its DPI, and its messages.
struct Win32Toolkit::Window : BaseWindow<Window> {
    static constexpr wchar_t className[] = L"LumoraWindow";

    Win32Toolkit& owner;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    int dpi = 96;
    std::vector<Control> controls; // one per entry of controlDesigns()
    Brushes brushes;
    std::optional<DesignFonts> fonts;
    // The program's icon at the sizes the title bar and the task bar ask for at this DPI.
    Icon bigIcon;
    Icon smallIcon;
    std::optional<WindowTimer> timer; // set once `main` is made
    TimerGroup timers;
    WindowHandle main; // last, so that the windows go before what they draw with

    Window(Win32Toolkit& owner, TimerGroup::Clock clock);
    // Destroyed by its owner rather than closed by the user, the window ends no message loop.
    ~Window() { detach(main.get()); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    Control& find(ControlId id, ControlKind kind) { return controls[designPosition(id, kind)]; }
    void makeControl(std::size_t position);
    void layout();
    void orderFocus() const;
    void fail(const RuntimeError& error);

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND hwnd, int id, HWND control, UINT code);
    void onTimer(HWND hwnd, UINT id);
    HBRUSH onControlColour(HWND hwnd, HDC dc, HWND control, int type);
    BOOL onEraseBackground(HWND hwnd, HDC dc);
    void onDpiChanged(HWND hwnd, int dpi, const RECT& suggested);
    void onDestroy(HWND hwnd);
};

Win32Toolkit::Window::Window(Win32Toolkit& owner, TimerGroup::Clock clock)
    : owner(owner), timers(std::move(clock), [this](auto delay) { timer->wait(delay); }) {
    const INITCOMMONCONTROLSEX common{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    main.reset(create(wideText(windowDesign().caption).c_str(), windowStyle, nullptr, instance));
    timer.emplace(main.get());
    dpi = dpiOf(main.get());
    controls.resize(controlDesigns().size());
    for (std::size_t position = 0; position < controls.size(); ++position) {
        makeControl(position);
    }
    layout();
    orderFocus();
}

void Win32Toolkit::Window::makeControl(std::size_t position) {
    const ControlDesign& design = controlDesigns()[position];
    Control& control = controls[position];
    DWORD style = childStyle | (design.visible ? WS_VISIBLE : 0);
    DWORD exStyle = 0;
    const wchar_t* className = L"";
    std::wstring text = wideText(design.text);
    switch (design.kind) {
    case ControlKind::Label:
        className = WC_STATICW;
        style |= SS_NOPREFIX | (design.centred ? SS_CENTER : SS_LEFT);
        break;
    case ControlKind::TextBox:
        className = WC_EDITW;
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | WS_GROUP | (design.readOnly ? ES_READONLY : 0) |
                 (design.centred ? ES_CENTER : ES_LEFT);
        style |= design.multiLine ? ES_MULTILINE | ES_AUTOVSCROLL : ES_AUTOHSCROLL;
        style |= design.verticalScrollBar ? WS_VSCROLL : 0;
        break;
    case ControlKind::ListBox:
        className = WC_LISTBOXW;
        exStyle = WS_EX_CLIENTEDGE;
        style |= WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        break;
    case ControlKind::Frame:
        className = WC_BUTTONW;
        style |= BS_GROUPBOX;
        break;
    case ControlKind::OptionButton: {
        className = WC_BUTTONW;
        style |= BS_AUTORADIOBUTTON;
        // The first button of its frame starts the group that the arrow keys move within.
        const auto designs = controlDesigns();
        const bool first = designPosition({design.container}) + 1 == position ||
                           designs[position - 1].container != design.container;
        style |= first ? WS_GROUP | WS_TABSTOP : 0;
        break;
    }
    case ControlKind::PictureBox:
        control.picture = std::make_unique<PictureBox>(
            main.get(), colorRef(design.background.value_or(windowDesign().background)),
            design.visible);
        control.handle = control.picture->handle();
        owner.attachPicture(position, *control.picture);
        SetWindowTextW(control.handle, wideText(design.accessibleName).c_str());
        return;
    case ControlKind::Timer:
        control.timer = timers.add(std::chrono::milliseconds(design.intervalMs),
                                   [this, position] { owner.timerTicked(position); });
        timers.start(control.timer);
        return;
    }
    control.handle = CreateWindowExW(
        exStyle, className, text.c_str(), style, 0, 0, 0, 0, main.get(),
        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(position + 1)), instance, nullptr);
    if (design.kind == ControlKind::TextBox) {
        SetWindowSubclass(control.handle, &passDialogKeys, 0, 0);
    }
    if (!design.accessibleName.empty()) {
        control.nameLabel =
            CreateWindowExW(0, WC_STATICW, wideText(design.accessibleName).c_str(),
                            childStyle | SS_NOPREFIX | (design.visible ? WS_VISIBLE : 0), 0, 0, 0,
                            0, main.get(), nullptr, instance, nullptr);
    }
    for (const TextView row : design.rows) {
        SendMessageW(control.handle, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(wideText(row).c_str()));
    }
}

// Everything in pixels at the current DPI, straight from the design's twips.
void Win32Toolkit::Window::layout() {
    const WindowDesign& design = windowDesign();
    RECT outer{0, 0, pixels(design.innerWidth, dpi), pixels(design.innerHeight, dpi)};
    adjustWindowRect(outer, dpi);
    SetWindowPos(main.get(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    fonts.emplace(dpi);

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

    const auto designs = controlDesigns();
    for (std::size_t position = 0; position < designs.size(); ++position) {
        const ControlDesign& control = designs[position];
        if (control.kind == ControlKind::Timer) {
            continue;
        }
        TwipRect bounds = control.bounds;
        if (!control.container.empty()) {
            const TwipRect& frame = designs[designPosition({control.container})].bounds;
            bounds.left += frame.left;
            bounds.top += frame.top;
        }
        const PixelRect r = pixelRect(bounds, dpi);
        const HWND handle = controls[position].handle;
        MoveWindow(handle, r.left, r.top, r.width, r.height, FALSE);
        if (controls[position].picture) {
            controls[position].picture->resized(dpi);
        } else {
            SendMessageW(handle, WM_SETFONT,
                         reinterpret_cast<WPARAM>(fonts->font(control.bold, control.italic)),
                         FALSE);
        }
    }
    InvalidateRect(main.get(), nullptr, TRUE);
}

// The dialog manager moves the focus through the children from the top of their z-order down,
// so the controls that take the focus go on top, in their tab places' order, each just after the
// label that names it; the frames go to the bottom, under the buttons they hold.
void Win32Toolkit::Window::orderFocus() const {
    const auto designs = controlDesigns();
    std::vector<HWND> order;
    std::vector<bool> placed(designs.size(), false);
    for (const std::size_t position : focusOrder()) {
        for (std::size_t label = 0; label < designs.size(); ++label) {
            if (designs[label].kind == ControlKind::Label &&
                !designs[label].labelFor.name.empty() &&
                designPosition(designs[label].labelFor) == position) {
                order.push_back(controls[label].handle);
                placed[label] = true;
            }
        }
        if (controls[position].nameLabel != nullptr) {
            order.push_back(controls[position].nameLabel);
        }
        order.push_back(controls[position].handle);
        placed[position] = true;
    }
    for (const bool frames : {false, true}) {
        for (std::size_t position = 0; position < designs.size(); ++position) {
            if (!placed[position] && controls[position].handle != nullptr &&
                (designs[position].kind == ControlKind::Frame) == frames) {
                order.push_back(controls[position].handle);
            }
        }
    }
    for (const HWND window : order) {
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32Toolkit::Window::fail(const RuntimeError& error) {
    timers.stopAll();
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
        const int row = ListBox_GetCurSel(controls[position].handle);
        if (row != LB_ERR) {
            owner.userChoseRow(position, row);
        }
    } else if (kind == ControlKind::OptionButton && code == BN_CLICKED) {
        owner.userChoseOption(position);
    }
}

void Win32Toolkit::Window::onTimer(HWND, UINT id) {
    if (id == WindowTimer::id) {
        timers.wake();
    }
}

// The colour of a control the design colours, or none for the system's own.
HBRUSH Win32Toolkit::Window::onControlColour(HWND, HDC dc, HWND child, int) {
    const auto id = static_cast<std::size_t>(GetDlgCtrlID(child));
    const auto designs = controlDesigns();
    if (id == 0 || id > designs.size() || !designs[id - 1].background) {
        return nullptr;
    }
    const Colour colour = *designs[id - 1].background;
    SetBkColor(dc, colorRef(colour));
    return brushes.of(colour);
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

Win32Toolkit::Win32Toolkit()
    : Win32Toolkit([] { return std::chrono::steady_clock::now().time_since_epoch(); }) {}

Win32Toolkit::Win32Toolkit(TimerGroup::Clock clock)
    : window_(std::make_unique<Window>(*this, std::move(clock))) {}

Win32Toolkit::~Win32Toolkit() = default;

int Win32Toolkit::showAndDeliverEvents() {
    if (failed()) {
        return runtimeErrorStatus;
    }
    const HWND main = window_->main.get();
    ShowWindow(main, SW_SHOWNORMAL);
    UpdateWindow(main);
    const std::vector<std::size_t> order = focusOrder();
    if (!order.empty()) {
        SetFocus(window_->controls[order.front()].handle);
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
    ListBox_SetCurSel(window_->controls[position].handle, row);
}

void Win32Toolkit::showChecked(std::size_t position, bool checked) {
    Button_SetCheck(window_->controls[position].handle, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32Toolkit::showText(std::size_t position, TextView text) {
    SetWindowTextW(window_->controls[position].handle, wideText(text).c_str());
}

void Win32Toolkit::runTimer(std::size_t position, bool running) {
    window_->timers.setRunning(window_->controls[position].timer, running);
}

void Win32Toolkit::fail(const RuntimeError& error) {
    window_->fail(error);
}

bool Win32Toolkit::enabled(ControlId timer) const {
    return window_->timers.running(
        window_->controls[designPosition(timer, ControlKind::Timer)].timer);
}

HWND Win32Toolkit::window() const {
    return window_->main.get();
}

HWND Win32Toolkit::control(ControlId id) const {
    const std::size_t position = designPosition(id);
    if (controlDesigns()[position].kind == ControlKind::Timer) {
        throw RuntimeError::absentElement(id.name, id.index);
    }
    return window_->controls[position].handle;
}

int Win32Toolkit::dpi() const {
    return window_->dpi;
}

} // namespace lumora
