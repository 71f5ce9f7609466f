// A helper for scripts: shows the running program's configuration window on one page, as a user
// at the keyboard would, and optionally selects a line of the web links list.
// Usage: WordlarkPage <page 0-4> [list line]   Exit code 0 when done, 1 otherwise.
#include <windows.h>

#include <cstdlib>

#include "Settings.h"
#include "TestSupport.h"

using namespace TestSupport;

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    TSettingsLink link;
    TWordlark wordlark;
    wordlark.Window = WaitForWindow("TConfigForm", "Wordlark Configuration", 10000);
    if (!wordlark.Window || !wordlark.ShowWindow() || !wordlark.ShowPage(std::atoi(argv[1])))
        return 1;
    if (argc > 2) {
        HWND list = wordlark.Control(1203);
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        PostMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(1203, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
    }
    PumpMessages(500);
    return 0;
}
