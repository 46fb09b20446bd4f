// The window's promises on Windows, under Wine: the scenario table and seeded random input, acted
// out with the window messages that the mouse and the keyboard make, the timers ticking through
// the window's own WM_TIMER on a clock that the test steps.

#include "random_input.h"
#include "runtime_error.h"
#include "screen_layout.h"
#include "text_functions.h"
#include "win32_toolkit.h"
#include "window_design.h"

#include <gtest/gtest.h>

#include <windowsx.h>

#include <chrono>
#include <cstdlib>
#include <malloc.h>
#include <random>

namespace lumora::scenarios {

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

namespace {

// The id of the window's one platform timer, as its WM_TIMER carries it.
constexpr UINT_PTR clockTimer = 1;

// Delivers what is queued as the program's message loop does, dialog keys included. The quit
// message that a run-time error posts goes: the toolkit reports its status again on closing.
void pumpMessages(HWND window) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT && !IsDialogMessageW(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

Text text(HWND window) {
    std::wstring wide(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    wide.resize(static_cast<std::size_t>(GetWindowTextW(window, wide.data(), wide.size())));
    return Text(wide.begin(), wide.end()); // the program's texts are all in the BMP
}

// What the program's error box said last.
Text shownReport;

// A user reading and dismissing the program's error box, and closing a context menu, as with
// Escape: a thread timer, so that it runs inside their modal loops.
void CALLBACK dismissModal(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
    if (const HWND box = FindWindowW(L"#32770", L"Lumora")) {
        shownReport = text(GetDlgItem(box, 0xFFFF)); // the message's static control
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
}

class Win32Driver final : public RandomInputDriver {
public:
    Win32Driver() {
        ui_.load(handlers_);
        ShowWindow(ui_.window(), SW_SHOWNORMAL);
        UpdateWindow(ui_.window());
        // Where the message loop puts the focus as it starts.
        SetFocus(ui_.control(controlId(focusOrder().front())));
        pump();
        dismiss_ = SetTimer(nullptr, 0, 50, &dismissModal);
    }
    ~Win32Driver() override { KillTimer(nullptr, dismiss_); }
    Win32Driver(const Win32Driver&) = delete;
    Win32Driver& operator=(const Win32Driver&) = delete;

    HWND window() const { return ui_.window(); }

    // The C runtime's heap in use, the process's GDI and USER objects and its kernel handles
    // (which Wine does not count: 0 there).
    static Holdings held() {
        long long heap = 0;
        _HEAPINFO block{};
        while (_heapwalk(&block) == _HEAPOK) {
            heap += block._useflag == _USEDENTRY ? static_cast<long long>(block._size) : 0;
        }
        const HANDLE process = GetCurrentProcess();
        DWORD handles = 0;
        GetProcessHandleCount(process, &handles);
        return {{"heap bytes", heap},
                {"GDI objects", GetGuiResources(process, GR_GDIOBJECTS)},
                {"USER objects", GetGuiResources(process, GR_USEROBJECTS)},
                {"handles", handles}};
    }
    int dpi() const { return ui_.dpi(); }
    std::pair<int, int> outerSize() const override {
        RECT r{};
        GetWindowRect(ui_.window(), &r);
        return {r.right - r.left, r.bottom - r.top};
    }

    Toolkit& toolkit() override { return ui_; }

    void act(const Step& step) override {
        const ControlId id = step.control;
        switch (step.action) {
        case Action::Tick:
            now_ += tickInterval();
            PostMessageW(ui_.window(), WM_TIMER, clockTimer, 0);
            break;
        case Action::ChooseRow: {
            const HWND box = ui_.control(id);
            if (!rowInView(box, step.value)) {
                ListBox_SetTopIndex(box, step.value); // as a user scrolls to the row first
            }
            RECT item{};
            ListBox_GetItemRect(box, step.value, &item);
            click(box, {(item.left + item.right) / 2, (item.top + item.bottom) / 2}, false, false);
            break;
        }
        case Action::ClickOption: {
            RECT area{};
            GetClientRect(ui_.control(id), &area);
            click(ui_.control(id), {area.right / 2, area.bottom / 2}, false, false);
            break;
        }
        case Action::Key:
            press(step.key);
            break;
        case Action::FailNextEvent:
            handlers_.failNextEvent();
            break;
        case Action::Close:
            PostMessageW(ui_.window(), WM_CLOSE, 0, 0);
            exitStatus_ = ui_.showAndDeliverEvents();
            return;
        default:
            break;
        }
        pump();
    }

    WindowState observe() override {
        if (exitStatus_) {
            // The window is gone with what it showed last.
            shown_.clicks.clear();
            shown_.exitStatus = exitStatus_;
            return shown_;
        }
        pump();
        WindowState state;
        state.ticker = text(ui_.control(Text2(0)));
        state.lengthRow = static_cast<std::int16_t>(ListBox_GetCurSel(ui_.control(List1(0))));
        state.messageRow = static_cast<std::int16_t>(ListBox_GetCurSel(ui_.control(List1(1))));
        for (const std::int16_t option : {0, 1}) {
            if (Button_GetCheck(ui_.control(Option1(option))) == BST_CHECKED) {
                state.chosenOption = option;
            }
        }
        RedrawWindow(ui_.window(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        const HDC screen = GetDC(nullptr);
        for (std::size_t n = 0; n < lampCount; ++n) {
            const HWND box = ui_.control(lamp(n));
            if (IsWindowVisible(box)) {
                POINT dot{pixels(static_cast<int>(lampDot().x), ui_.dpi()),
                          pixels(static_cast<int>(lampDot().y), ui_.dpi())};
                ClientToScreen(box, &dot);
                const COLORREF pixel = GetPixel(screen, dot.x, dot.y);
                state.lamps[n] = (Colour{GetRValue(pixel)} << 16) |
                                 (Colour{GetGValue(pixel)} << 8) | GetBValue(pixel);
            }
        }
        ReleaseDC(nullptr, screen);
        state.tickerTimerRuns = ui_.enabled(Timer1);
        state.lampTimerRuns = ui_.enabled(Timer2);
        state.clicks = handlers_.takeClicks();
        for (const ControlDesign& design : controlDesigns()) {
            if (design.kind != ControlKind::Timer &&
                ui_.control({design.name, design.index}) == GetFocus()) {
                state.focus = controlName({design.name, design.index});
            }
        }
        state.chosenRowsInView = true;
        for (const std::int16_t list : {0, 1}) {
            const HWND box = ui_.control(List1(list));
            state.chosenRowsInView =
                *state.chosenRowsInView &&
                (ListBox_GetCurSel(box) < 0 || rowInView(box, ListBox_GetCurSel(box)));
        }
        shown_ = state;
        return state;
    }

    // A click of either button, single or double, at a point of the window's client area, on
    // whatever lies there.
    void clickAt(int x, int y, bool right, bool twice) override {
        POINT at{pixels(x, dpi()), pixels(y, dpi())};
        HWND target = ChildWindowFromPointEx(ui_.window(), at, CWP_SKIPINVISIBLE);
        if (target == nullptr) {
            target = ui_.window();
        }
        MapWindowPoints(ui_.window(), target, &at, 1);
        click(target, at, right, twice);
        pump();
    }

private:
    static bool rowInView(HWND box, int row) {
        RECT area{};
        RECT item{};
        GetClientRect(box, &area);
        ListBox_GetItemRect(box, row, &item);
        return item.top >= 0 && item.bottom <= area.bottom;
    }

    static ControlId controlId(std::size_t position) {
        const ControlDesign& design = controlDesigns()[position];
        return {design.name, design.index};
    }

    // The messages a mouse click makes; a second click soon after is a double click for a
    // window whose class asks for them.
    static void click(HWND target, POINT at, bool right, bool twice) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        const UINT down = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
        const WPARAM held = right ? MK_RBUTTON : MK_LBUTTON;
        const bool doubleClicks = (GetClassLongPtrW(target, GCL_STYLE) & CS_DBLCLKS) != 0;
        for (int n = 0; n < (twice ? 2 : 1); ++n) {
            PostMessageW(target, n == 1 && doubleClicks ? down + 2 : down, held, where);
            PostMessageW(target, down + 1, 0, where);
        }
    }

    void press(Key key) {
        static constexpr UINT keys[] = {VK_DOWN, VK_UP, VK_TAB, VK_TAB};
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = key == Key::BackTab ? 0x80 : 0;
        SetKeyboardState(state);
        for (const UINT message : {WM_KEYDOWN, WM_KEYUP}) {
            PostMessageW(GetFocus(), message, keys[static_cast<int>(key)],
                         message == WM_KEYUP ? LPARAM(0xC0000001) : 1);
            pump();
        }
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }

    void pump() { pumpMessages(ui_.window()); }

    TimerGroup::Duration now_{};
    win32::Win32Toolkit ui_{[this] { return now_; }};
    RecordingHandlers handlers_{ui_};
    UINT_PTR dismiss_ = 0;
    WindowState shown_;
    std::optional<int> exitStatus_;
};

class WindowScenario : public testing::TestWithParam<Scenario> {};

TEST_P(WindowScenario, Holds) {
    if (skipped(GetParam(), Platform::Win32)) {
        GTEST_SKIP() << GetParam().whySkipped;
    }
    shownReport.clear();
    Win32Driver driver;
    for (const std::string& failure : run(driver, GetParam())) {
        ADD_FAILURE() << failure;
    }
    if (!shownReport.empty()) {
        EXPECT_EQ(toUtf8(shownReport).find(RuntimeError::divisionByZero().report()), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(win32, WindowScenario, testing::ValuesIn(windowScenarios()),
                         [](const auto& info) { return reportName(info.param); });

// Seeded random steps, clicks anywhere included, for at most 20 s; LUMORA_SEED repeats a run.
TEST(RandomInput, KeepsTheWindowSound) {
    const unsigned seed = randomSeed();
    Win32Driver driver;
    EXPECT_EQ(actOutRandomInput(driver, seed, std::chrono::seconds(20)), "");
}

// A week of ticks, as many as fit in 20 s, with random steps sprinkled in: no more held.
TEST(Week, HoldsNoMoreAtItsEnd) {
    Win32Driver driver;
    EXPECT_EQ(actOutWeek(driver, &Win32Driver::held, randomSeed(), true, std::chrono::seconds(20)),
              "");
}

} // namespace
} // namespace lumora::scenarios
