// A helper for scripts and tests: posts one message to the running program's configuration window,
// as the notification area or a newly started copy would.
// Usage: PostToWordlark <message> [lParam]   (numbers in C notation, e.g. 0x403 0x203)
// Exit code 0 when the window was found and the message posted, 1 otherwise.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const UINT message = static_cast<UINT>(std::strtoul(argv[1], nullptr, 0));
    const LPARAM lParam = argc > 2 ? static_cast<LPARAM>(std::strtoul(argv[2], nullptr, 0)) : 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        if (HWND window = FindWindowA("TConfigForm", "Wordlark Configuration"))
            return PostMessageA(window, message, 0, lParam) ? 0 : 1;
        Sleep(100);
    }
    return 1;
}
