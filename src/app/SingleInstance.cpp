#include "SingleInstance.h"

bool CloseRunningInstance(DWORD limit) {
    HWND running = FindWindowA(ConfigFormClassName, ConfigFormTitle);
    if (!running)
        return true;
    PostMessageA(running, WM_QUIT_REQUEST, 0, 0);
    // The ending copy stops "the" hook, which is whatever handle the shared block holds when it
    // gets there. Its window disappears only after that, so this copy starts its own hook only
    // once the window is gone; otherwise the old copy could remove the new copy's hook.
    const ULONGLONG end = GetTickCount64() + limit;
    while (IsWindow(running)) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}
