#include "ClipboardLib.h"

#include <algorithm>
#include <cstring>

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

void RestoreClipboard() {
    {
        TClipboardSession clipboard;
        if (clipboard) {
            // Without an emptied clipboard nothing can be placed; the list stays for the next save
            // to replace.
            if (!EmptyClipboard())
                return;
            for (const TSavedClipboardFormat& entry : SavedClipboardFormats) {
                TGlobalMemory memory(GMEM_MOVEABLE, entry.Data.size());
                if (!memory.Get())
                    continue;
                {
                    TGlobalLock lock(memory.Get());
                    if (!lock.Get())
                        continue;
                    if (!entry.Data.empty())
                        std::memcpy(lock.Get(), entry.Data.data(), entry.Data.size());
                }
                // The clipboard owns the object only once it has accepted it; a refused one is freed.
                if (SetClipboardData(entry.Format, memory.Get()))
                    memory.Release();
            }
        }
    }
    SavedClipboardFormats.clear();
}

void SendCopyKeystroke() {
    SendKeyCombo(CopyKeyCombo, true);
    SendKeyCombo(CopyKeyCombo, false);
}

namespace {

enum class TReadResult { Read, NoText, Busy };

TReadResult TryReadClipboardText(int maxLength, std::string& text) {
    TClipboardSession clipboard;
    if (!clipboard)
        return TReadResult::Busy;
    try {
        HANDLE data = GetClipboardData(CF_TEXT);
        if (!data)
            return TReadResult::NoText;
        TGlobalLock lock(data);
        if (!lock.Get())
            return TReadResult::Busy;
        const SIZE_T size = std::min<SIZE_T>(GlobalSize(data), static_cast<SIZE_T>(std::max(maxLength, 0)));
        const char* bytes = static_cast<const char*>(lock.Get());
        text.assign(bytes, bytes + size);
        text.resize(std::min(text.size(), text.find('\0')));
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
