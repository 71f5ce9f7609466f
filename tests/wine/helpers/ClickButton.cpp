// A helper for scripts: presses a button of a top-level dialog of any process, as a click would.
// Usage: ClickButton <start of the window title> <control id>
// Waits up to ten seconds for a window whose title starts so with the button visible and enabled (a
// program may own more than one window of the title); exit code 0 when it was pressed.
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

struct TSearch {
    const char* Title;
    int Id;
    HWND Dialog = nullptr;
};

BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<TSearch*>(data);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    HWND button = GetDlgItem(window, search.Id);
    if (std::strncmp(title, search.Title, std::strlen(search.Title)) != 0 || !button ||
        !IsWindowVisible(button) || !IsWindowEnabled(button))
        return TRUE;
    search.Dialog = window;
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return 2;
    TSearch search{argv[1], std::atoi(argv[2])};
    for (int attempt = 0; attempt < 100 && !search.Dialog; ++attempt) {
        EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (!search.Dialog)
            Sleep(100);
    }
    return search.Dialog && PostMessageA(search.Dialog, WM_COMMAND, MAKEWPARAM(search.Id, BN_CLICKED),
                                         reinterpret_cast<LPARAM>(GetDlgItem(search.Dialog, search.Id)))
               ? 0
               : 1;
}
