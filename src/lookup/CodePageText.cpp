#include "CodePageText.h"

#include <windows.h>

#include "UnicodeText.h"
#include "UrlText.h"

namespace {

using TIdnToAscii = int(WINAPI*)(DWORD, const wchar_t*, int, wchar_t*, int);

// In kernel32 from Windows 8 on, in normaliz.dll on Windows 7. A library loaded here stays for the
// program's lifetime, as the function is kept until the program ends.
TIdnToAscii FindIdnToAscii() {
    for (const char* library : {"kernel32.dll", "normaliz.dll"}) {
        HMODULE module = GetModuleHandleA(library);
        if (!module)
            module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (FARPROC function = module ? GetProcAddress(module, "IdnToAscii") : nullptr)
            return reinterpret_cast<TIdnToAscii>(reinterpret_cast<void*>(function));
    }
    return nullptr;
}

} // namespace

std::string Utf8FromAnsi(const std::string& text) {
    const int size = static_cast<int>(text.size());
    const int length = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::string();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, &wide[0], length);
    return Utf8FromUtf16(wide);
}

std::string AnsiFromUtf8(const std::string& text) {
    const std::wstring wide = Utf16FromUtf8(text);
    const int length = static_cast<int>(wide.size());
    const int size =
        length == 0 ? 0 : WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), length, &bytes[0], size, nullptr, nullptr);
    return bytes;
}

std::string LinkTextBytes(const std::string& text, TLinkEncoding encoding) {
    // Through UTF-16 either way, so that no ill-formed sequence reaches a URL.
    return encoding == TLinkEncoding::Utf8 ? Utf8FromUtf16(Utf16FromUtf8(text)) : AnsiFromUtf8(text);
}

std::string LinkUrlPart(const std::string& part, TLinkEncoding encoding) {
    return encoding == TLinkEncoding::Utf8 ? Utf8UrlPart(part, HostToAscii) : AnsiFromUtf8(part);
}

std::string HostToAscii(const std::string& host) {
    static const TIdnToAscii idnToAscii = FindIdnToAscii();
    const std::wstring wide = Utf16FromUtf8(host);
    if (!idnToAscii || wide.empty())
        return std::string();
    wchar_t ascii[256]; // a host name has at most 253 characters
    const int length = idnToAscii(0, wide.data(), static_cast<int>(wide.size()), ascii, 256);
    return length > 0 ? Utf8FromUtf16(std::wstring(ascii, static_cast<std::size_t>(length))) : std::string();
}
