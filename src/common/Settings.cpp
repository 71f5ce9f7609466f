// The shared half of ASettings: the named 24-byte block that the program and every copy of the
// hook library map. Read and written without locks: each field is a byte or an aligned 32-bit word.
#include "Settings.h"

#include "Errors.h"
#include "SimpleReg.h"

#include <cstring>
#include <exception>

namespace {

// The line numbers are part of the assertion messages that users report; keep them stable.
constexpr int LinkFailureLine = 163, UnlinkFailureLine = 169, GetKeyComboLine = 206, SetKeyComboLine = 227;

HANDLE Mapping = nullptr;
TSharedSettings* Block = nullptr;

void CheckHotKeyIndex(int index, int line) {
    if (index < 0 || index >= HotKeyCount)
        RaiseAssertion("Assertion failure", "Settings", line);
}

// "KeyCombo0".."KeyCombo2", formatted without allocating.
struct TKeyComboValueName {
    char Text[10] = "KeyCombo?";
    explicit TKeyComboValueName(int index) { Text[8] = static_cast<char>('0' + index); }
};

// Loads the three hot keys into the block. A value that cannot be read leaves its hot key at the
// default rather than at 0 (which would disable it for every process until the block is gone);
// the first such error is raised after all three are in place.
void LoadKeyCombos() {
    std::exception_ptr firstError;
    for (int i = 0; i < HotKeyCount; ++i) {
        std::uint32_t value = DefaultKeyCombos[i].Value;
        try {
            value = static_cast<std::uint32_t>(
                ASimpleReg::ReadInteger(KeyCombosKey, TKeyComboValueName(i).Text,
                                        static_cast<std::int32_t>(DefaultKeyCombos[i].Value)));
        } catch (...) {
            if (!firstError)
                firstError = std::current_exception();
        }
        Block->HotKeys[i] = value;
    }
    if (firstError)
        std::rethrow_exception(firstError);
}

} // namespace

void ASettings::LinkToSettings() {
    SetLastError(ERROR_SUCCESS);
    Mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TSharedSettings),
                                 SharedSettingsName);
    const DWORD lastError = GetLastError();
    if (Mapping) {
        Block = static_cast<TSharedSettings*>(
            MapViewOfFile(Mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TSharedSettings)));
        if (Block && lastError != ERROR_ALREADY_EXISTS)
            std::memset(Block, 0, sizeof(TSharedSettings));
    }
    if (!Block) {
        if (Mapping)
            CloseHandle(Mapping);
        Mapping = nullptr;
        RaiseAssertion("LinkToSettings API failure", "Settings", LinkFailureLine);
    }
}

void ASettings::UnlinkFromSettings() {
    if (!UnmapViewOfFile(Block))
        RaiseAssertion("UnlinkFromSettings API failure", "Settings", UnlinkFailureLine);
    Block = nullptr;
    const BOOL closed = CloseHandle(Mapping);
    Mapping = nullptr;
    if (!closed)
        RaiseAssertion("UnlinkFromSettings API failure", "Settings", UnlinkFailureLine);
}

TSettingsLink::~TSettingsLink() {
    try {
        ASettings::UnlinkFromSettings();
    } catch (...) {
        // Nothing is left to do with an unlink that failed at the end of the scope.
    }
}

bool ASettings::GetConfigWindowShown() {
    return Block->ConfigWindowShown != 0;
}

void ASettings::SetConfigWindowShown(bool shown) {
    Block->ConfigWindowShown = shown ? 1 : 0;
}

bool ASettings::GetEnabled() {
    return (Block->Disabled ^ 1) != 0;
}

void ASettings::SetEnabled(bool enabled) {
    Block->Disabled = enabled ? 0 : 1;
}

TKeyCombo ASettings::GetKeyCombo(int index) {
    // Marked loaded before reading, so that no other process starts a second load meanwhile;
    // until the values arrive they read as 0, which never matches a key press.
    if (!Block->KeyCombosLoaded) {
        Block->KeyCombosLoaded = 1;
        LoadKeyCombos();
    }
    CheckHotKeyIndex(index, GetKeyComboLine);
    return TKeyCombo{Block->HotKeys[index]};
}

void ASettings::SetKeyCombo(int index, TKeyCombo combo) {
    CheckHotKeyIndex(index, SetKeyComboLine);
    Block->HotKeys[index] = combo.Value;
    ASimpleReg::WriteInteger(KeyCombosKey, TKeyComboValueName(index).Text,
                             static_cast<std::int32_t>(combo.Value));
}

HHOOK ASettings::GetHookHandle() {
    return reinterpret_cast<HHOOK>(FieldToHandle(Block->HookHandle));
}

void ASettings::SetHookHandle(HHOOK hook) {
    Block->HookHandle = HandleToField(reinterpret_cast<std::uintptr_t>(hook));
}

HWND ASettings::GetTargetWindow() {
    return reinterpret_cast<HWND>(FieldToHandle(Block->TargetWindow));
}

void ASettings::SetTargetWindow(HWND window) {
    Block->TargetWindow = HandleToField(reinterpret_cast<std::uintptr_t>(window));
}
