// The keyboard hook. Windows runs KeyboardHandler on the input thread of whatever process has the
// keyboard focus, so the per-key path reads a few fields of the shared block and the key state,
// allocates nothing, takes no lock and lets no exception out.
#define TARNWICK2_BUILD
#include "KeyboardHook.h"

#include "../common/KeyCombos.h"
#include "../common/Settings.h"

namespace {

HMODULE LibraryModule = nullptr;

// True when the key press is a hot key and must be swallowed.
bool HandleKeyDown(WPARAM wParam, LPARAM lParam) {
    const std::uint16_t virtualKey = static_cast<std::uint16_t>(wParam & 0xFFFF);
    if (IsModifierKey(virtualKey))
        return false;
    const TKeyCombo combo = GetPressedKeyCombo(virtualKey, (lParam & (1 << 24)) != 0);
    if (IsReservedKeyCombo(combo))
        return false;

    const HWND target = ASettings::GetTargetWindow();
    if (ASettings::GetConfigWindowShown() && target == GetForegroundWindow()) {
        PostMessageA(target, WM_KEYCOMBO_CAPTURED, 0, static_cast<LPARAM>(combo.Value));
        return false;
    }
    if (!ASettings::GetEnabled())
        return false;
    for (int index = 0; index < HotKeyCount; ++index) {
        if (KeyCombosEqual(ASettings::GetKeyCombo(index), combo)) {
            PostMessageA(target, WM_HOTKEY_PRESSED, static_cast<WPARAM>(index), 0);
            return true;
        }
    }
    return false;
}

} // namespace

// Key data bit 31 clear: a key going down, auto-repeats included.
LRESULT CALLBACK KeyboardHandler(int code, WPARAM wParam, LPARAM lParam) {
    bool swallow = false;
    if (code == HC_ACTION && (lParam & 0x80000000) == 0) {
        try {
            swallow = HandleKeyDown(wParam, lParam);
        } catch (...) {
            // Only the first load of the hot keys can raise (a registry value of the wrong type).
            // The block then holds the defaults for unreadable values; this key press passes on.
            swallow = false;
        }
    }
    if (swallow)
        return 1;
    return CallNextHookEx(ASettings::GetHookHandle(), code, wParam, lParam) != 0 ? 1 : 0;
}

void WINAPI StartKeyboardHook(HWND window) {
    // The target is in the block before the hook exists, so the first key press finds it.
    ASettings::SetTargetWindow(window);
    ASettings::SetHookHandle(SetWindowsHookExA(WH_KEYBOARD, KeyboardHandler, LibraryModule, 0));
}

BOOL WINAPI StopKeyboardHook() {
    return UnhookWindowsHookEx(ASettings::GetHookHandle());
}

// Each process that loads the library links the shared block; a process where that fails does not
// get the library at all (the loader sees FALSE, never an exception).
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    try {
        switch (reason) {
        case DLL_PROCESS_ATTACH:
            LibraryModule = instance;
            DisableThreadLibraryCalls(instance);
            ASettings::LinkToSettings();
            break;
        case DLL_PROCESS_DETACH:
            ASettings::UnlinkFromSettings();
            break;
        }
    } catch (...) {
        return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE;
    }
    return TRUE;
}
