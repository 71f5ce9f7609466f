#include "SingleInstance.h"

namespace {

bool CreationTime(HANDLE process, ULONGLONG& time) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return false;
    time = static_cast<ULONGLONG>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
    return true;
}

} // namespace

bool NewerCopyRunning() {
    HWND running = FindWindowA(ConfigFormClassName, ConfigFormTitle);
    DWORD processId = 0;
    if (!running || !GetWindowThreadProcessId(running, &processId))
        return false;
    TUniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    ULONGLONG theirs = 0, ours = 0;
    return process && CreationTime(process.Get(), theirs) && CreationTime(GetCurrentProcess(), ours) &&
           theirs > ours;
}

bool CloseRunningInstance(DWORD limit) {
    HWND running = FindWindowA(ConfigFormClassName, ConfigFormTitle);
    if (!running)
        return true;
    PostMessageA(running, WM_QUIT_REQUEST, 0, 0);
    // The ending copy removes its hook before its window disappears, and its hook posts to the
    // window that the shared block names; so this copy starts its own hook only once the window is
    // gone, and there is never a second hook posting each hot key again.
    const ULONGLONG end = GetTickCount64() + limit;
    while (IsWindow(running)) {
        if (GetTickCount64() >= end)
            return false;
        Sleep(20);
    }
    return true;
}

TStartupLock::TStartupLock(DWORD limit) : Mutex(CreateMutexA(nullptr, FALSE, "WordlarkStartup")) {
    if (!Mutex)
        return;
    // An abandoned lock (its copy ended while starting) is ours now like any other.
    const DWORD result = WaitForSingleObject(Mutex.Get(), limit);
    Owned = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
}

void TStartupLock::Release() {
    if (Owned)
        ReleaseMutex(Mutex.Get());
    Owned = false;
}
