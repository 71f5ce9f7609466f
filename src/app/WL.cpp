// Program entry.
#include <windows.h>

#include "../common/Settings.h"
#include "../hook/KeyboardHook.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    TSettingsLink settings;
    StartKeyboardHook(nullptr);
    StopKeyboardHook();
    return 0;
}
