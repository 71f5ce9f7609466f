#include "ErrorBox.h"

#include <exception>

void ShowErrorBox(HWND owner, const char* text) {
    MessageBoxA(owner, text, ProgramTitle, MB_OK | MB_ICONERROR);
}

void ShowCaughtError(HWND owner) {
    try {
        throw;
    } catch (const std::exception& error) {
        ShowErrorBox(owner, error.what());
    } catch (...) {
        ShowErrorBox(owner, "Unknown error");
    }
}
