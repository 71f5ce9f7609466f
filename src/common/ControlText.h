// The text of a window or control, whatever its length: in the ANSI code page, or wide (UTF-16).
#pragma once

#include <windows.h>

#include <string>

inline std::string ControlText(HWND control) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

inline std::wstring ControlWideText(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return text;
}
