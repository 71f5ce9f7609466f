// The shared half of ASettings: the named 24-byte block that the program and every copy of the
// hook library map. Read and written without locks: each field is a byte or an aligned 32-bit word.
#include "Settings.h"

#include "Errors.h"
#include "SharedBlockMap.h"
#include "SimpleReg.h"

namespace {

// The line numbers are part of the assertion messages that users report; keep them stable.
constexpr int LinkFailureLine = 163, UnlinkFailureLine = 169, GetKeyComboLine = 206, SetKeyComboLine = 227;

HANDLE Mapping = nullptr;
TSharedSettings* Block = nullptr;

void CheckHotKeyIndex(int index, int line) {
    if (index < 0 || index >= HotKeyCount)
        RaiseAssertion("Assertion failure", "Settings", line);
}

} // namespace

void ASettings::LinkToSettings() {
    Block = MapSharedBlock(Mapping);
    if (!Block)
        RaiseAssertion("LinkToSettings API failure", "Settings", LinkFailureLine);
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
        // Every unreadable hot key already holds its default; the first one is reported.
        const TKeyComboLoad load = LoadKeyCombos(*Block);
        if (load.FailedIndex >= 0)
            RaiseRegistryReadError(load.Failure, TKeyComboValueName(load.FailedIndex).Text);
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
