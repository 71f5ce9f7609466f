// A helper for the tests: plays a running copy of the program that is slow to end. It owns a window
// of the program's class and title and installs the hook through Tarnwick2.dll; on the quit request
// it waits, then stops its hook, as the program does, and ends.
// Usage: SlowToEndCopy <path of Tarnwick2.dll> <milliseconds before ending, or "never">
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

using TStartKeyboardHook = void(WINAPI*)(HWND);
using TStopKeyboardHook = BOOL(WINAPI*)();

TStopKeyboardHook StopHook = nullptr;
DWORD Delay = 0;
bool Never = false;

LRESULT CALLBACK CopyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER + 4 && !Never) {
        Sleep(Delay);
        StopHook();
        DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    HMODULE library = LoadLibraryA(argv[1]);
    if (!library)
        return 3;
    auto startHook = reinterpret_cast<TStartKeyboardHook>(
        reinterpret_cast<void*>(GetProcAddress(library, "StartKeyboardHook")));
    StopHook = reinterpret_cast<TStopKeyboardHook>(
        reinterpret_cast<void*>(GetProcAddress(library, "StopKeyboardHook")));
    if (!startHook || !StopHook)
        return 4;
    Never = std::strcmp(argv[2], "never") == 0;
    Delay = Never ? 0 : static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = CopyProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TConfigForm";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "TConfigForm", "Wordlark Configuration", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    startHook(window);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
