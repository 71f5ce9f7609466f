// One running copy at a time: a newly started copy asks the running one to end, found by the
// configuration window's class and title. The newest copy wins.
#pragma once

#include <windows.h>

#include "WinHandles.h"

constexpr const char* ConfigFormClassName = "TConfigForm";
constexpr const char* ConfigFormTitle = "Wordlark Configuration";
constexpr UINT WM_TRAY_CALLBACK = WM_USER + 3;
constexpr UINT WM_QUIT_REQUEST = WM_USER + 4;
constexpr UINT WM_CLIPBOARD_CHANGED = WM_USER + 5;

// True when the running copy was started after this one: it is the newer copy, and this one ends
// instead. Copies that wait for the start-up lock do not get it in the order they were started.
bool NewerCopyRunning();

// Posts the quit request to the running copy, if there is one, and waits (at most `limit`
// milliseconds) until its window is gone. Returns false when the old window outlived the wait.
bool CloseRunningInstance(DWORD limit = 5000);

// Held by a starting copy from before it looks for the running one until its own window exists.
// Copies started close together so hand over one after the other, each finding the window of the
// one before it; without it, a copy whose window did not exist yet was not found and stayed.
class TStartupLock {
public:
    // Waits for the copy that is starting now. A copy that holds the lock longer than `limit`
    // (it hangs) is not waited for any further.
    explicit TStartupLock(DWORD limit = 60000);
    TStartupLock(const TStartupLock&) = delete;
    TStartupLock& operator=(const TStartupLock&) = delete;
    ~TStartupLock() { Release(); }
    void Release();

private:
    TUniqueHandle Mutex;
    bool Owned = false;
};
