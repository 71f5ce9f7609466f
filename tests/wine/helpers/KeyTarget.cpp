// A helper process for the tests: a window with an edit control that takes the focus and writes
// every key message it receives to a log file, one line each: "down|up <vk in hex> <extended 0|1>".
// Usage: KeyTarget <log file> [title] [edit text, selected]
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND Edit = nullptr;

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        MoveWindow(Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(Edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    FILE* log = std::fopen(argv[1], "a");
    if (!log)
        return 3;
    const char* title = argc > 2 ? argv[2] : "Key Target";

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "WordlarkKeyTarget";
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WordlarkKeyTarget", title, WS_OVERLAPPEDWINDOW, 100, 100, 400, 200,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    // A Unicode edit, which holds and copies text in any script.
    Edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 200, window,
                           nullptr, windowClass.hInstance, nullptr);
    SetWindowTextA(Edit, argc > 3 ? argv[3] : "");
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(Edit);
    SendMessageA(Edit, EM_SETSEL, 0, -1);
    std::fprintf(log, "ready\n");
    std::fflush(log);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSKEYUP && msg.message != WM_CHAR &&
            msg.message != WM_SYSCHAR && msg.message != WM_DEADCHAR && msg.message != WM_SYSDEADCHAR) {
            const bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
            std::fprintf(log, "%s %02X %d\n", up ? "up" : "down", static_cast<unsigned>(msg.wParam),
                         (msg.lParam >> 24) & 1 ? 1 : 0);
            std::fflush(log);
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::fclose(log);
    return 0;
}
