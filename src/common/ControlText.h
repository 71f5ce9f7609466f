// The text of a window or control, whatever its length.
#pragma once

#include <windows.h>

#include <string>

inline std::string ControlText(HWND control) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(control, &text[0], static_cast<int>(text.size()))));
    return text;
}
