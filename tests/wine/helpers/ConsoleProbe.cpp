// A helper process for the tests: a program running in a console window that notes each interrupt
// (Ctrl + C, Ctrl + Break) it receives instead of ending. Usage: ConsoleProbe <log file>; writes
// "ready" once its handler is in place, then "interrupted" for each interrupt; ends after a minute
// or when its console closes.
#include <windows.h>

#include <cstdio>

namespace {

const char* Log = nullptr;

void Note(const char* line) {
    if (FILE* log = std::fopen(Log, "a")) {
        std::fprintf(log, "%s\n", line);
        std::fclose(log);
    }
}

BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    Note("interrupted");
    return TRUE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    Log = argv[1];
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    Note("ready");
    Sleep(60000);
    return 0;
}
