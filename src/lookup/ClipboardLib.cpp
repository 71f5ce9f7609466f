#include "ClipboardLib.h"

#include <algorithm>
#include <cstring>

#include "ConsoleWindows.h"
#include "UnicodeText.h"
#include "WinHandles.h"

std::vector<TSavedClipboardFormat> SavedClipboardFormats;

bool SaveClipboard() {
    SavedClipboardFormats.clear();
    bool saved = false;
    {
        TClipboardSession clipboard;
        if (!clipboard)
            return false;
        for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
            if (SaveClipboardFormat(format))
                saved = true;
    }
    if (!saved)
        SavedClipboardFormats.clear();
    return saved;
}

bool SaveClipboardFormat(UINT format) {
    HANDLE data = GetClipboardData(format);
    if (!data)
        return false;
    // Bitmaps, palettes and other GDI handles do not lock: such formats are left out.
    TGlobalLock lock(data);
    if (!lock.Get())
        return false;
    const SIZE_T size = GlobalSize(data);
    const unsigned char* bytes = static_cast<const unsigned char*>(lock.Get());
    TSavedClipboardFormat entry;
    entry.Data.assign(bytes, bytes + size);
    entry.Format = format;
    SavedClipboardFormats.push_back(std::move(entry));
    return true;
}

namespace {

// Places a copy of the bytes on the open clipboard; the clipboard owns the memory only once it has
// accepted it, a refused object is freed.
void PlaceOnClipboard(UINT format, const void* data, std::size_t size) {
    TGlobalMemory memory(GMEM_MOVEABLE, size);
    if (!memory.Get())
        return;
    {
        TGlobalLock lock(memory.Get());
        if (!lock.Get())
            return;
        if (size != 0)
            std::memcpy(lock.Get(), data, size);
    }
    if (SetClipboardData(format, memory.Get()))
        memory.Release();
}

// The user's own copy is in the clipboard history already; putting it back must not record it a
// second time, on top of the word that was looked up. These registered formats keep the clipboard
// history, the cloud clipboard and other monitors from taking the restored contents as a new entry.
// A marker that the user's contents carried already keeps the user's value.
void MarkAsNotForHistory() {
    static const char* const markers[] = {"ExcludeClipboardContentFromMonitorProcessing",
                                          "CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"};
    const DWORD no = 0;
    for (const char* name : markers) {
        const UINT format = RegisterClipboardFormatA(name);
        if (format != 0 && !IsClipboardFormatAvailable(format))
            PlaceOnClipboard(format, &no, sizeof no);
    }
}

} // namespace

void RestoreClipboard() {
    {
        TClipboardSession clipboard;
        if (clipboard) {
            // Without an emptied clipboard nothing can be placed; the list stays for the next save
            // to replace.
            if (!EmptyClipboard())
                return;
            for (const TSavedClipboardFormat& entry : SavedClipboardFormats)
                PlaceOnClipboard(entry.Format, entry.Data.data(), entry.Data.size());
            if (!SavedClipboardFormats.empty())
                MarkAsNotForHistory();
        }
    }
    SavedClipboardFormats.clear();
}

namespace {

// The keystroke that copies in the window in front, chosen at the moment of the copy. False when
// no window is in front or it has just closed: there is nothing to copy from, and the wait for
// the clipboard ends as it does when nothing was selected.
bool CopyKeystrokeFor(HWND window, TKeyCombo& copy) {
    char className[256] = "";
    if (!window || GetClassNameA(window, className, sizeof className) == 0)
        return false;
    copy = IsConsoleWindowClass(className) ? ConsoleCopyKeyCombo : CopyKeyCombo;
    return true;
}

} // namespace

namespace {

void SendCopyKeystroke(const TKeyCombo* releaseFirst) {
    TKeyComboStep steps[3];
    std::size_t count = 0;
    if (releaseFirst)
        steps[count++] = {*releaseFirst, false};
    TKeyCombo copy;
    if (CopyKeystrokeFor(GetForegroundWindow(), copy)) {
        steps[count++] = {copy, true};
        steps[count++] = {copy, false};
    }
    // One SendInput: input of the user's that came between the copy's Ctrl and its C would make
    // the program type a "c" over the selection instead of copying it.
    SendKeyCombos(steps, count);
}

} // namespace

void SendCopyKeystroke() {
    SendCopyKeystroke(nullptr);
}

void SendCopyKeystroke(TKeyCombo releaseFirst) {
    SendCopyKeystroke(&releaseFirst);
}

namespace {

enum class TReadResult { Read, NoText, Busy };

TReadResult TryReadClipboardText(int maxLength, std::string& text) {
    TClipboardSession clipboard;
    if (!clipboard)
        return TReadResult::Busy;
    try {
        // Windows gives this format also for programs that place only CF_TEXT.
        HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (!data)
            return TReadResult::NoText;
        TGlobalLock lock(data);
        if (!lock.Get())
            return TReadResult::Busy;
        const wchar_t* units = static_cast<const wchar_t*>(lock.Get());
        const std::size_t kept = Utf16CutLength(units, GlobalSize(data) / sizeof(wchar_t),
                                                static_cast<std::size_t>(std::max(maxLength, 0)));
        text = Utf8FromUtf16(std::wstring(units, kept));
        return TReadResult::Read;
    } catch (...) {
        // Only an allocation can fail here; like a busy clipboard, it is worth another attempt.
        text.clear();
        return TReadResult::Busy;
    }
}

} // namespace

bool ReadClipboardText(int timeoutMs, int maxLength, std::string& text) {
    text.clear();
    // A monotonic clock: a change of the system time must neither stretch nor cut the wait.
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(std::max(timeoutMs, 0));
    for (;;) {
        const TReadResult result = TryReadClipboardText(maxLength, text);
        if (result == TReadResult::Read)
            return true;
        if (result == TReadResult::NoText || GetTickCount64() > deadline)
            return false;
    }
}
