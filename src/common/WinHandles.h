// Small owners of Win32 resources: each releases its resource in its destructor, on every path.
// Non-copyable; movable where ownership may pass on.
#pragma once

#include <windows.h>

#include <utility>

class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(HANDLE handle) : Handle(handle) {}
    TUniqueHandle(TUniqueHandle&& other) noexcept : Handle(std::exchange(other.Handle, nullptr)) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        std::swap(Handle, other.Handle);
        return *this;
    }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    ~TUniqueHandle() {
        if (Handle && Handle != INVALID_HANDLE_VALUE)
            CloseHandle(Handle);
    }
    HANDLE Get() const { return Handle; }
    explicit operator bool() const { return Handle && Handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE Handle = nullptr;
};

class TRegKey {
public:
    TRegKey() = default;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    ~TRegKey() { Close(); }
    bool Open(HKEY root, const char* path, REGSAM access) {
        Close();
        if (RegOpenKeyExA(root, path, 0, access, &Key) != ERROR_SUCCESS)
            Key = nullptr;
        return Key != nullptr;
    }
    // Opens the key, creating it and any missing parents.
    bool Create(HKEY root, const char* path, REGSAM access) {
        Close();
        if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &Key,
                            nullptr) != ERROR_SUCCESS)
            Key = nullptr;
        return Key != nullptr;
    }
    HKEY Get() const { return Key; }

private:
    void Close() {
        if (Key)
            RegCloseKey(Key);
        Key = nullptr;
    }
    HKEY Key = nullptr;
};

// A locked global memory object; GlobalLock's pointer is null when the handle is not global memory.
class TGlobalLock {
public:
    explicit TGlobalLock(HGLOBAL memory) : Memory(memory), Data(GlobalLock(memory)) {}
    TGlobalLock(const TGlobalLock&) = delete;
    TGlobalLock& operator=(const TGlobalLock&) = delete;
    ~TGlobalLock() {
        if (Data)
            GlobalUnlock(Memory);
    }
    void* Get() const { return Data; }

private:
    HGLOBAL Memory;
    void* Data;
};

// A global memory object that is freed unless Release passed it on (to the clipboard, say).
class TGlobalMemory {
public:
    TGlobalMemory(UINT flags, SIZE_T size) : Memory(GlobalAlloc(flags, size)) {}
    TGlobalMemory(const TGlobalMemory&) = delete;
    TGlobalMemory& operator=(const TGlobalMemory&) = delete;
    ~TGlobalMemory() {
        if (Memory)
            GlobalFree(Memory);
    }
    HGLOBAL Get() const { return Memory; }
    HGLOBAL Release() { return std::exchange(Memory, nullptr); }

private:
    HGLOBAL Memory;
};

// The clipboard held open by this thread, with no owner window.
class TClipboardSession {
public:
    explicit TClipboardSession(HWND owner = nullptr) : IsOpen(OpenClipboard(owner) != FALSE) {}
    TClipboardSession(const TClipboardSession&) = delete;
    TClipboardSession& operator=(const TClipboardSession&) = delete;
    ~TClipboardSession() {
        if (IsOpen)
            CloseClipboard();
    }
    explicit operator bool() const { return IsOpen; }

private:
    bool IsOpen;
};

// A menu, GDI object or image list that the program made or loaded itself (not a shared resource);
// released with it (a menu with its sub-menus).
template <class THandle, BOOL(WINAPI* Release)(THandle)> class TOwnedHandle {
public:
    TOwnedHandle() = default;
    explicit TOwnedHandle(THandle handle) : Handle(handle) {}
    TOwnedHandle(TOwnedHandle&& other) noexcept : Handle(std::exchange(other.Handle, nullptr)) {}
    TOwnedHandle& operator=(TOwnedHandle&& other) noexcept {
        std::swap(Handle, other.Handle);
        return *this;
    }
    TOwnedHandle(const TOwnedHandle&) = delete;
    TOwnedHandle& operator=(const TOwnedHandle&) = delete;
    ~TOwnedHandle() {
        if (Handle)
            Release(Handle);
    }
    THandle Get() const { return Handle; }

private:
    THandle Handle = nullptr;
};
using TMenu = TOwnedHandle<HMENU, DestroyMenu>;
using TGdiObject = TOwnedHandle<HGDIOBJ, DeleteObject>;
// A file search that FindFirstFile began (never INVALID_HANDLE_VALUE).
using TFileSearch = TOwnedHandle<HANDLE, FindClose>;
