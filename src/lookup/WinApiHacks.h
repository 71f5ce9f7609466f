// Taking the foreground from a background tray program, and pop-up menus at the mouse pointer.
#pragma once

#include <windows.h>

// Brings the window to the foreground although another program's thread owns it: attach to that
// thread's input, at most two attempts, detach on every path.
void ForceForegroundWindow(HWND window);

// Shows the menu with its top-left corner at the cursor, in the foreground, without adding a
// taskbar button; returns when the menu has closed, with the chosen command id (0 for none).
UINT PopupMenuAtCursor(HMENU menu);
