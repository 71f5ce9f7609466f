// The system's files through Win32: opened with sharing that lets other programs move, replace or
// delete them meanwhile, the UTF-8 path converted to UTF-16 once.
#include <windows.h>

#include "common/UnicodeText.h"
#include "common/WinHandles.h"
#include "dict/DictFile.h"

namespace {

class TWinFile : public TDictFile {
public:
    TWinFile(TUniqueHandle handle, std::uint64_t size) : Handle(std::move(handle)), FileSize(size) {}
    std::uint64_t Size() const override { return FileSize; }
    bool Read(std::uint64_t offset, char* buffer, std::size_t length) override {
        if (offset > FileSize || length > FileSize - offset)
            return false;
        while (length > 0) {
            OVERLAPPED place{};
            place.Offset = static_cast<DWORD>(offset);
            place.OffsetHigh = static_cast<DWORD>(offset >> 32);
            const DWORD part = length > 0x40000000 ? 0x40000000 : static_cast<DWORD>(length);
            DWORD read = 0;
            if (!ReadFile(Handle.Get(), buffer, part, &read, &place) || read == 0)
                return false;
            buffer += read;
            offset += read;
            length -= read;
        }
        return true;
    }

private:
    TUniqueHandle Handle;
    std::uint64_t FileSize;
};

class TWinFiles : public TDictFiles {
public:
    std::unique_ptr<TDictFile> Open(const std::string& path) const override {
        TUniqueHandle handle(CreateFileW(Utf16FromUtf8(path).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        if (!handle || !GetFileSizeEx(handle.Get(), &size) || size.QuadPart < 0)
            return nullptr;
        return std::make_unique<TWinFile>(std::move(handle), static_cast<std::uint64_t>(size.QuadPart));
    }
};

// The text in the ANSI code page, or empty when a character has no form there.
std::string AnsiText(const std::wstring& text) {
    BOOL lossy = FALSE;
    const int length =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (length <= 1 || lossy)
        return std::string();
    std::string ansi(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(), -1, ansi.data(), length, nullptr, &lossy);
    ansi.resize(static_cast<std::size_t>(length - 1));
    return lossy ? std::string() : ansi;
}

} // namespace

const TDictFiles& SystemDictFiles() {
    static const TWinFiles files;
    return files;
}

// MinGW-w64's C++ streams, and so Hunspell 1.7 built with it, open files by their name in the ANSI
// code page (its wide "\\?\" form exists only when built with MSVC). A folder named in
// another script usually still has a short name of ASCII letters.
std::string CRuntimePath(const std::string& path) {
    const std::wstring wide = Utf16FromUtf8(path);
    std::string ansi = AnsiText(wide);
    if (!ansi.empty())
        return ansi;
    const DWORD length = GetShortPathNameW(wide.c_str(), nullptr, 0);
    if (length == 0)
        return std::string();
    std::wstring shortPath(length, L'\0');
    const DWORD written = GetShortPathNameW(wide.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length)
        return std::string();
    shortPath.resize(written);
    return AnsiText(shortPath);
}

bool EightBitCharset(unsigned codePage, const char* /*iconvName*/, std::u32string& upper) {
    if (!IsValidCodePage(codePage))
        return false;
    upper.assign(128, 0);
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const char in = static_cast<char>(byte);
        wchar_t out[2] = {};
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, &in, 1, out, 2) == 1 && out[0] != 0xFFFD)
            upper[byte - 0x80] = out[0];
    }
    return true;
}
