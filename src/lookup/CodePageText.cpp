#include "CodePageText.h"

#include <windows.h>

#include "UnicodeText.h"

std::string Utf8FromAnsi(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::string();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return Utf8FromUtf16(wide);
}

std::string LinkTextBytes(const std::string& text, TLinkEncoding encoding) {
    // Through UTF-16 either way, so that no ill-formed sequence reaches a URL.
    const std::wstring wide = Utf16FromUtf8(text);
    if (encoding == TLinkEncoding::Utf8)
        return Utf8FromUtf16(wide);
    const int length = static_cast<int>(wide.size());
    const int size =
        length == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}
