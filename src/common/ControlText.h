// The text of a window or control, whatever its length: in the ANSI code page, wide (UTF-16), or
// UTF-8 through the wide functions, as the program keeps text in any script.
#pragma once

#include <windows.h>

#include <string>

#include "UnicodeText.h"

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

inline std::string ControlUtf8Text(HWND control) {
    return Utf8FromUtf16(ControlWideText(control));
}

inline void SetControlUtf8Text(HWND control, const std::string& text) {
    SetWindowTextW(control, Utf16FromUtf8(text).c_str());
}
