// The baseline for Lumora's cost on Windows: the least a Win32 ticker can be. One read-only edit
// control in a window of Lumora's size, in the ticker's font, whose text moves on by one
// character every 200 ms by a plain timer.

#include <windows.h>

#include <string>

namespace {

constexpr wchar_t message[] = L"Големите изненади се крият в малките опаковки. "
                              L"Големите изненади се крият в малките опаковки.";
constexpr int length = 46;
constexpr int visible = 20;

HWND edit = nullptr;
int position = 0;

LRESULT CALLBACK procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        position = position % (length - 1) + 1;
        SetWindowTextW(edit, std::wstring(message + position - 1, visible).c_str());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, msg, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"MinimalTicker";
    RegisterClassExW(&windowClass);
    RECT outer{0, 0, 466, 352};
    AdjustWindowRect(&outer, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, FALSE);
    const HWND window = CreateWindowExW(
        0, L"MinimalTicker", L"Minimal ticker", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
        CW_USEDEFAULT, CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr,
        nullptr, instance, nullptr);
    edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                           WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER, 80, 72, 265, 31, window,
                           nullptr, instance, nullptr);
    const HFONT font = CreateFontW(-16, 0, 0, 0, FW_BOLD, TRUE, FALSE, FALSE, RUSSIAN_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                   DEFAULT_PITCH | FF_ROMAN, L"Times New Roman");
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ShowWindow(window, show);
    SetTimer(window, 1, 200, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(font);
    return 0;
}
