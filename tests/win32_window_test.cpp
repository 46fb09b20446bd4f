// The window from Windows' own controls, in-process under Wine on a virtual screen: built from
// the design table, loaded, ticking, chosen from by real window messages, and ended by a
// run-time error.

#include "lumora.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "win32_toolkit.h"
#include "window_design.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
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

// Counts the Clicks that reach the window's handlers.
class CountingClicks final : public EventHandlers {
public:
    explicit CountingClicks(Toolkit& ui) : form(ui) {}
    void load() override { form.load(); }
    void timer(std::string_view name) override { form.timer(name); }
    void click(std::string_view array, std::int16_t index) override {
        ++clicks;
        form.click(array, index);
    }
    Lumora form;
    int clicks = 0;
};

class Win32Window : public testing::Test {
protected:
    // The window loaded and shown; its timers are off, so that only the test ticks.
    void SetUp() override {
        ui.load(handlers);
        ui.setEnabled({"Timer1"}, false);
        ui.setEnabled({"Timer2"}, false);
        ShowWindow(ui.window(), SW_SHOWNORMAL);
        UpdateWindow(ui.window());
        pumpMessages();
        handlers.clicks = 0;
    }
    Win32Toolkit ui;
    CountingClicks handlers{ui};
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

TEST_F(Win32Window, LoadedStateShowsTheFirstMessage) {
    EXPECT_EQ(windowText(ui.control({"Text2", 0})), L"Големите изненади се");
    EXPECT_EQ(ListBox_GetCurSel(ui.control({"List1", 0})), 2);
    EXPECT_EQ(ListBox_GetCurSel(ui.control({"List1", 1})), 0);
    EXPECT_EQ(Button_GetCheck(ui.control({"Option1", 0})), BST_CHECKED);
    EXPECT_EQ(Button_GetCheck(ui.control({"Option1", 1})), BST_UNCHECKED);
    for (std::int16_t k = 0; k < 8; ++k) {
        EXPECT_FALSE(IsWindowVisible(ui.control({"Picture1", k})));
        EXPECT_FALSE(IsWindowVisible(ui.control({"Picture2", k})));
    }
}

// The lit pair and its dots, read back from the screen's pixels.
TEST_F(Win32Window, TicksMoveTheTickerAndLightTheNextPair) {
    handlers.form.Timer1_Timer();
    handlers.form.Timer1_Timer();
    EXPECT_EQ(windowText(ui.control({"Text2", 0})), L"олемите изненади се ");

    handlers.form.Timer2_Timer();
    RedrawWindow(ui.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages();
    const auto dotColour = [&](ControlId lamp) {
        // The dot is centred a quarter of the way into the lamp.
        POINT centre{pixels(64, ui.dpi()), pixels(64, ui.dpi())};
        ClientToScreen(ui.control(lamp), &centre);
        const HDC screen = GetDC(nullptr);
        const COLORREF pixel = GetPixel(screen, centre.x, centre.y);
        ReleaseDC(nullptr, screen);
        return pixel;
    };
    EXPECT_TRUE(IsWindowVisible(ui.control({"Picture1", 1})));
    EXPECT_TRUE(IsWindowVisible(ui.control({"Picture2", 1})));
    EXPECT_EQ(dotColour({"Picture1", 1}), RGB(0xFF, 0x00, 0x00));
    EXPECT_EQ(dotColour({"Picture2", 1}), RGB(0x00, 0x00, 0xFF));
}

// Real window messages, as a mouse click makes them: one Click for each new choice, none for
// choosing the chosen again.
TEST_F(Win32Window, UserChoicesRaiseClickOnce) {
    const HWND lengths = ui.control({"List1", 0});
    const auto clickRow = [&](int row) {
        RECT item{};
        ListBox_GetItemRect(lengths, row, &item);
        const LPARAM at = MAKELPARAM(item.left + 2, item.top + 2);
        SendMessageW(lengths, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(lengths, WM_LBUTTONUP, 0, at);
    };
    clickRow(4);
    EXPECT_EQ(handlers.clicks, 1);
    EXPECT_EQ(handlers.form.fields().VisibleLen, 30.0);
    clickRow(4);
    EXPECT_EQ(handlers.clicks, 1);

    SendMessageW(ui.control({"Option1", 1}), BM_CLICK, 0, 0);
    EXPECT_EQ(handlers.clicks, 2);
    EXPECT_EQ(Button_GetCheck(ui.control({"Option1", 0})), BST_UNCHECKED);
    SendMessageW(ui.control({"Option1", 1}), BM_CLICK, 0, 0);
    EXPECT_EQ(handlers.clicks, 2);

    ui.setListIndex({"List1", 1}, 2); // a program write raises it too, inside the write
    EXPECT_EQ(handlers.clicks, 3);
    EXPECT_EQ(handlers.form.fields().MessageLen, 29);
}

// A key pressed on the focused control, through the message loop's dialog manager.
void press(HWND window, UINT key) {
    for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
        MSG msg{GetFocus(), message, key, message == WM_KEYUP ? LPARAM(0xC0000001) : 1, 0, {}};
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        pumpMessages();
    }
}

// Tab walks the design's focus order, and Shift+Tab back; in the group of option buttons it
// stops on the chosen one.
TEST_F(Win32Window, TabFollowsTheDesignOrder) {
    const std::vector<ControlId> expected{{"Text1", 0}, {"Text2", 0},   {"List1", 0},
                                          {"List1", 1}, {"Option1", 0}, {"Text1", 0}};
    HWND focus = ui.control(expected.front());
    for (std::size_t i = 1; i < expected.size(); ++i) {
        focus = GetNextDlgTabItem(ui.window(), focus, FALSE);
        EXPECT_EQ(focus, ui.control(expected[i])) << "step " << i;
    }
    SetFocus(ui.control({"List1", 0}));
    press(ui.window(), VK_TAB);
    EXPECT_EQ(GetFocus(), ui.control({"List1", 1}));
    EXPECT_EQ(GetNextDlgTabItem(ui.window(), GetFocus(), TRUE), ui.control({"List1", 0}));
}

// The arrow keys choose, as clicks do: the next row of a list, the other option button.
TEST_F(Win32Window, ArrowKeysChooseRowsAndOptions) {
    SetFocus(ui.control({"List1", 0}));
    press(ui.window(), VK_DOWN);
    EXPECT_EQ(ListBox_GetCurSel(ui.control({"List1", 0})), 3);
    EXPECT_EQ(handlers.form.fields().VisibleLen, 25.0);

    SetFocus(ui.control({"Option1", 0}));
    press(ui.window(), VK_DOWN);
    EXPECT_EQ(GetFocus(), ui.control({"Option1", 1}));
    EXPECT_EQ(Button_GetCheck(ui.control({"Option1", 1})), BST_CHECKED);
    EXPECT_EQ(Button_GetCheck(ui.control({"Option1", 0})), BST_UNCHECKED);
    EXPECT_EQ(handlers.clicks, 2);
}

TEST(Win32RuntimeError, ShowsAMessageBoxAndEndsWithNonZeroStatus) {
    struct FailingOnTick final : EventHandlers {
        void load() override {}
        void timer(std::string_view) override { throw RuntimeError::divisionByZero(); }
        void click(std::string_view, std::int16_t) override {}
    } handlers;
    Win32Toolkit ui;
    ui.load(handlers);
    std::wstring shown;
    std::thread user([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (const HWND box = FindWindowW(L"#32770", L"Lumora")) {
                const HWND text = GetDlgItem(box, 0xFFFF); // the message's static control
                shown = text != nullptr ? windowText(text) : L"";
                PostMessageW(box, WM_COMMAND, IDOK, 0);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    });
    EXPECT_EQ(ui.showAndDeliverEvents(), runtimeErrorStatus);
    user.join();
    EXPECT_NE(shown.find(L"11"), std::wstring::npos);
    EXPECT_NE(shown.find(L"Деление на нула"), std::wstring::npos);
}

} // namespace
} // namespace lumora
