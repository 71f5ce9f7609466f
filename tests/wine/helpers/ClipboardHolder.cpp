// A helper process for the tests: another program that keeps the clipboard open.
// Usage: ClipboardHolder <signal file> <milliseconds>; writes "open" to the signal file once it holds
// the clipboard, then keeps it open for the given time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    // Opened for a window of its own: Wine lets a second opener in when both name no window.
    HWND window = CreateWindowExA(0, "STATIC", "Clipboard Holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window || !OpenClipboard(window))
        return 3;
    if (FILE* signal = std::fopen(argv[1], "w")) {
        std::fputs("open\n", signal);
        std::fclose(signal);
    }
    Sleep(static_cast<DWORD>(std::atoi(argv[2])));
    CloseClipboard();
    DestroyWindow(window);
    return 0;
}
