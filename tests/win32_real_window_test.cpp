// lumora.exe as its own process under Wine, seen from another program: its window and controls
// found by class and name, polled against a deadline; closed as a user closes it.
//   win32_real_window_test PATH\TO\lumora.exe

#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

std::wstring program;

// Polls `condition` for up to `limit`.
bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

// Another process's text: WM_GETTEXT is carried across processes, GetWindowText is not.
std::wstring textOf(HWND window) {
    wchar_t text[256] = {};
    SendMessageW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

class Process {
public:
    explicit Process(std::wstring commandLine) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &info_) != FALSE;
    }
    ~Process() {
        if (started_) {
            if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(info_.hProcess, 99);
            }
            CloseHandle(info_.hThread);
            CloseHandle(info_.hProcess);
        }
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }
    // The exit status once it has ended, within ten seconds.
    DWORD waitForExit() const {
        DWORD status = STILL_ACTIVE;
        if (WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(info_.hProcess, &status);
        }
        return status;
    }

private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

TEST(Win32RealWindow, AnimatesAndEndsWithStatusZeroWhenClosed) {
    Process lumora(L"\"" + program + L"\"");
    ASSERT_TRUE(lumora.started());
    HWND window = nullptr;
    ASSERT_TRUE(eventually(
        [&] {
            window = FindWindowW(L"LumoraWindow", nullptr);
            return window != nullptr && IsWindowVisible(window);
        },
        10s))
        << "no Lumora window";
    EXPECT_EQ(textOf(window), L"lumora.example ИТ - светлинна реклама и текст");

    // The ticker is the control its label names.
    const HWND label = FindWindowExW(window, nullptr, L"Static", L"Текст на рекламата");
    ASSERT_NE(label, nullptr);
    const HWND ticker = GetWindow(label, GW_HWNDNEXT);
    const std::wstring first = textOf(ticker);
    EXPECT_EQ(first.size(), 20u);
    EXPECT_TRUE(eventually([&] { return textOf(ticker) != first; }, 2s)) << "the ticker stands";

    const auto litLamps = [&] {
        int lit = 0;
        for (HWND lamp = FindWindowExW(window, nullptr, L"LumoraPictureBox", nullptr);
             lamp != nullptr; lamp = FindWindowExW(window, lamp, L"LumoraPictureBox", nullptr)) {
            lit += IsWindowVisible(lamp) ? 1 : 0;
        }
        return lit;
    };
    EXPECT_TRUE(eventually([&] { return litLamps() == 2; }, 2s)) << "no lit pair";

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(lumora.waitForExit(), 0u);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fputs("usage: win32_real_window_test PATH\\TO\\lumora.exe\n", stderr);
        return 2;
    }
    program = argv[1];
    return RUN_ALL_TESTS();
}
