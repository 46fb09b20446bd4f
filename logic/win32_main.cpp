#include "process_entry.h"
#include "win32_toolkit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    lumora::win32::Win32Toolkit ui;
    return lumora::runLumora(ui);
}
