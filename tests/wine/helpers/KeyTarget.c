/* A helper process for the tests: a window with an edit control that takes the focus and writes
 * every key message it receives to a log file, one line each: "down|up <vk in hex> <extended 0|1>",
 * followed by " <performance counter>" when the fourth argument is "times". Plain C, so that the
 * same program is built as a 64-bit and as a 32-bit one.
 * Usage: KeyTarget <log file> [title] [edit text, selected] [times] */
#include <windows.h>

#include <stdio.h>

static HWND Edit = NULL;

static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    FILE* log = fopen(argv[1], "a");
    if (!log)
        return 3;
    const char* title = argc > 2 ? argv[2] : "Key Target";
    const int times = argc > 4 && lstrcmpiA(argv[4], "times") == 0;

    WNDCLASSA windowClass = {0};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = "WordlarkKeyTarget";
    windowClass.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "WordlarkKeyTarget", title, WS_OVERLAPPEDWINDOW, 100, 100, 400, 200, NULL,
                                  NULL, windowClass.hInstance, NULL);
    /* A Unicode edit, which holds and copies text in any script. */
    Edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 0, 0, 400, 200, window, NULL,
                           windowClass.hInstance, NULL);
    SetWindowTextA(Edit, argc > 3 ? argv[3] : "");
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(Edit);
    SendMessageA(Edit, EM_SETSEL, 0, -1);
    fprintf(log, "ready\n");
    fflush(log);

    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSKEYUP && msg.message != WM_CHAR &&
            msg.message != WM_SYSCHAR && msg.message != WM_DEADCHAR && msg.message != WM_SYSDEADCHAR) {
            LARGE_INTEGER now;
            QueryPerformanceCounter(&now);
            const int up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
            fprintf(log, "%s %02X %d", up ? "up" : "down", (unsigned)msg.wParam, (msg.lParam >> 24) & 1 ? 1 : 0);
            if (times)
                fprintf(log, " %lld", (long long)now.QuadPart);
            fprintf(log, "\n");
            fflush(log);
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    fclose(log);
    return 0;
}
