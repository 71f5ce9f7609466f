// One running copy at a time: a newly started copy asks the running one to end, found by the
// configuration window's class and title.
#pragma once

#include <windows.h>

constexpr const char* ConfigFormClassName = "TConfigForm";
constexpr const char* ConfigFormTitle = "Wordlark Configuration";
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 3;
constexpr UINT WM_QUIT_REQUEST = WM_USER + 4;
constexpr UINT WM_CLIPBOARD_CHANGED = WM_USER + 5;

// Posts the quit request to the running copy, if there is one, and waits (at most `limit`
// milliseconds) until its window is gone. Returns false when the old window outlived the wait.
bool CloseRunningInstance(DWORD limit = 5000);
