// The window from Windows' own controls, in-process under Wine on a virtual screen: built from
// the design table at the screen's DPI, each control of its Windows class, where the design puts
// it, and named as Narrator names it.

#include "lumora.h"
#include "screen_layout.h"
#include "timer_group.h"
#include "win32_toolkit.h"
#include "window_design.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace lumora {
namespace {

std::wstring windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
    return text;
}

std::wstring wide(TextView text) {
    return std::wstring(text.begin(), text.end()); // the design's texts are all in the BMP
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Where a control of the design lies in the window's client area, in pixels.
PixelRect designRect(const ControlDesign& design, int dpi) {
    TwipRect bounds = design.bounds;
    if (!design.container.empty()) {
        const TwipRect& frame = controlDesigns()[designPosition({design.container})].bounds;
        bounds.left += frame.left;
        bounds.top += frame.top;
    }
    return pixelRect(bounds, dpi);
}

PixelRect clientRect(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

class Win32Window : public testing::Test {
protected:
    // The window loaded and shown.
    void SetUp() override {
        ui.load(form);
        ShowWindow(ui.window(), SW_SHOWNORMAL);
        UpdateWindow(ui.window());
        pumpMessages();
    }
    // One interval passes on the window's clock, which otherwise stands still.
    void tick() {
        now += std::chrono::milliseconds(200);
        SendMessageW(ui.window(), WM_TIMER, 1, 0);
    }
    TimerGroup::Duration now{};
    win32::Win32Toolkit ui{[this] { return now; }};
    Lumora form{ui};
};

TEST_F(Win32Window, ControlsFollowTheDesign) {
    if (const char* dpi = std::getenv("LUMORA_WINE_DPI")) {
        EXPECT_EQ(ui.dpi(), std::atoi(dpi)); // the screen the test asked Wine for
    }
    RECT client{};
    GetClientRect(ui.window(), &client);
    EXPECT_EQ(client.right, pixels(windowDesign().innerWidth, ui.dpi()));
    EXPECT_EQ(client.bottom, pixels(windowDesign().innerHeight, ui.dpi()));
    EXPECT_EQ(windowText(ui.window()), wide(windowDesign().caption));
    const LONG style = GetWindowLongW(ui.window(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(style & WS_SYSMENU);
    for (const WPARAM which : {ICON_BIG, ICON_SMALL}) {
        ICONINFO info{};
        const auto icon = reinterpret_cast<HICON>(SendMessageW(ui.window(), WM_GETICON, which, 0));
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
        BITMAP bitmap{};
        GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
        EXPECT_EQ(bitmap.bmWidth, GetSystemMetrics(which == ICON_BIG ? SM_CXICON : SM_CXSMICON));
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }

    const std::map<ControlKind, std::wstring> classes{
        {ControlKind::Label, L"Static"},        {ControlKind::TextBox, L"Edit"},
        {ControlKind::ListBox, L"ListBox"},     {ControlKind::Frame, L"Button"},
        {ControlKind::OptionButton, L"Button"}, {ControlKind::PictureBox, L"LumoraPictureBox"}};
    for (const ControlDesign& design : controlDesigns()) {
        if (design.kind == ControlKind::Timer) {
            continue;
        }
        SCOPED_TRACE(controlName({design.name, design.index}));
        const HWND control = ui.control({design.name, design.index});
        EXPECT_EQ(_wcsicmp(className(control).c_str(), classes.at(design.kind).c_str()), 0);
        EXPECT_EQ(clientRect(ui.window(), control), designRect(design, ui.dpi()));
        EXPECT_EQ(IsWindowVisible(control) != FALSE,
                  design.visible && design.kind != ControlKind::PictureBox);
        if (design.kind == ControlKind::Label || design.kind == ControlKind::Frame ||
            design.kind == ControlKind::OptionButton) {
            EXPECT_EQ(windowText(control), wide(design.text));
        }
        if (design.kind == ControlKind::ListBox) {
            ASSERT_EQ(ListBox_GetCount(control), static_cast<int>(design.rows.size()));
            for (int row = 0; row < ListBox_GetCount(control); ++row) {
                std::wstring text(static_cast<std::size_t>(ListBox_GetTextLen(control, row)),
                                  L'\0');
                ListBox_GetText(control, row, text.data());
                EXPECT_EQ(text, wide(design.rows[static_cast<std::size_t>(row)]));
            }
        }
    }
}

// Narrator names a standard control by the static text just before it, and a window of another
// class by its own text: the same names as on Linux.
TEST_F(Win32Window, ControlsHaveTheirAccessibleNames) {
    for (const ControlDesign& design : controlDesigns()) {
        TextView name = design.accessibleName;
        for (const ControlDesign& label : controlDesigns()) {
            if (label.labelFor.name == design.name && label.labelFor.index == design.index) {
                name = label.text;
            }
        }
        if (name.empty()) {
            continue;
        }
        SCOPED_TRACE(controlName({design.name, design.index}));
        const HWND control = ui.control({design.name, design.index});
        if (design.kind == ControlKind::PictureBox) {
            EXPECT_EQ(windowText(control), wide(name));
            continue;
        }
        const HWND label = GetWindow(control, GW_HWNDPREV);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(_wcsicmp(className(label).c_str(), L"Static"), 0);
        EXPECT_EQ(windowText(label), wide(name));
        EXPECT_EQ(IsWindowVisible(label) != FALSE, design.visible);
    }
}

// The task panel is read-only, and white as a text box is on every screen.
TEST_F(Win32Window, TaskPanelIsWhite) {
    const HWND panel = ui.control(Text1(0));
    RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    RECT client{};
    GetClientRect(panel, &client);
    const HDC dc = GetDC(panel);
    EXPECT_EQ(GetPixel(dc, client.right - 2, client.bottom - 2), RGB(255, 255, 255));
    ReleaseDC(panel, dc);
}

// The columns of a picture box's row `y` that are not its background, as it paints itself.
std::vector<int> drawnColumns(HWND box, int y) {
    RECT area{};
    GetClientRect(box, &area);
    const HDC screen = GetDC(box);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, area.right, area.bottom);
    ReleaseDC(box, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const COLORREF background = GetPixel(dc, area.right - 1, area.bottom - 1);
    std::vector<int> drawn;
    for (int x = 0; x < area.right; ++x) {
        if (GetPixel(dc, x, y) != background) {
            drawn.push_back(x);
        }
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return drawn;
}

// Moved to a screen of another scale, the lit lamps keep their dots, drawn again at the new
// scale, whether the lamps run or stand still.
TEST_F(Win32Window, LampsKeepTheirDotsAtANewDpi) {
    tick(); // the first pair lights
    const std::int16_t drawWidth = 10;
    for (const bool stopped : {false, true}) {
        if (stopped) {
            ui.selectOption(Option1(1));
        }
        for (const int dpi : {144, 96}) {
            SCOPED_TRACE(std::to_string(dpi) + (stopped ? " dpi, stopped" : " dpi, running"));
            RECT suggested{};
            GetWindowRect(ui.window(), &suggested);
            SendMessageW(ui.window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                         reinterpret_cast<LPARAM>(&suggested));
            pumpMessages();
            const double perTwip = dpi / 1440.0;
            const auto diameter = static_cast<int>(std::lround(drawWidth * dpi / 96.0));
            const auto left =
                static_cast<int>(std::lround(form.fields().DotX * perTwip - diameter / 2.0));
            const auto centreRow = static_cast<int>(std::lround(form.fields().DotY * perTwip));
            for (const ControlArray array : {Picture1, Picture2}) { // the first pair
                SCOPED_TRACE(array.name);
                const std::vector<int> drawn = drawnColumns(ui.control(array(1)), centreRow);
                ASSERT_FALSE(drawn.empty());
                EXPECT_EQ(drawn.front(), std::max(left, 0));
                // GDI fills a dot a pixel wider or not, by where its edge falls.
                EXPECT_NEAR(drawn.back() + 1 - left, diameter, 1);
                EXPECT_EQ(drawn.size(), static_cast<std::size_t>(drawn.back() - drawn.front() + 1));
            }
        }
    }
}

} // namespace
} // namespace lumora
