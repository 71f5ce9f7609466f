#include "WinApiHacks.h"

#include "ForegroundGrabberFrm.h"

void ForceForegroundWindow(HWND window) {
    const DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    const DWORD currentThread = GetCurrentThreadId();
    // Attached, this thread shares the foreground thread's input state, which is what lets
    // SetForegroundWindow succeed from the background. Failure of either call changes nothing.
    AttachThreadInput(currentThread, foregroundThread, TRUE);
    const bool inFront = SetForegroundWindow(window) || SetForegroundWindow(window);
    AttachThreadInput(currentThread, foregroundThread, FALSE);
    // Wine hands the foreground back to the other thread's input when the threads detach, which
    // leaves no foreground window at all; the window that had it a moment ago takes it back.
    if (inFront && GetForegroundWindow() != window)
        SetForegroundWindow(window);
}

UINT PopupMenuAtCursor(HMENU menu) {
    TForegroundGrabberScope grabber;
    POINT cursor{};
    GetCursorPos(&cursor);
    const UINT command =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                         cursor.x, cursor.y, 0, grabber.Window(), nullptr));
    // Lets the menu close properly when the user clicked elsewhere (a known need of TrackPopupMenu).
    PostMessageA(grabber.Window(), WM_NULL, 0, 0);
    return command;
}
