// The keyboard hook. Windows loads this library into every program that receives keyboard input
// and runs KeyboardHandler there on every key press, so the library is built without the C and C++
// runtimes (no start-up code, no TLS, no exceptions): the per-key path reads the shared block, at
// most once the key state, and allocates, formats and raises nothing.
#define TARNWICK2_BUILD
#include "KeyboardHook.h"

#include "../common/SharedBlockMap.h"
#include "HookDecision.h"

namespace {

HMODULE LibraryModule = nullptr;
HANDLE Mapping = nullptr;
TSharedSettings* Block = nullptr;

HWND TargetWindow() {
    return reinterpret_cast<HWND>(FieldToHandle(Block->TargetWindow));
}

HHOOK HookHandle() {
    return reinterpret_cast<HHOOK>(FieldToHandle(Block->HookHandle));
}

struct THookSystem {
    // One server call for all five modifier keys, where GetKeyState would take one each.
    std::uint8_t Modifiers() {
        BYTE state[256];
        if (!GetKeyboardState(state))
            return 0;
        return MakePressedKeyCombo(0, false, [&state](std::uint16_t vk) { return (state[vk] & 0x80) != 0; })
            .Modifiers();
    }
    bool TargetIsForeground() { return TargetWindow() == GetForegroundWindow(); }
    // An unreadable value leaves the defaults in the block for every later key press; the key
    // that met it passes on, as a failed load must not cost the user a key.
    bool LoadHotKeys(TSharedSettings& block) { return LoadKeyCombos(block).FailedIndex < 0; }
};

} // namespace

LRESULT CALLBACK KeyboardHandler(int code, WPARAM wParam, LPARAM lParam) {
    THookSystem system;
    const THookDecision decision = DecideKey(code, wParam, lParam, *Block, system);
    switch (decision.Action) {
    case THookAction::PostHotKey:
        PostMessageA(TargetWindow(), WM_HOTKEY_PRESSED, decision.Value, 0);
        return 1; // swallowed
    case THookAction::PostCapture:
        PostMessageA(TargetWindow(), WM_KEYCOMBO_CAPTURED, 0, static_cast<LPARAM>(decision.Value));
        break;
    case THookAction::PassOn:
        break;
    }
    return CallNextHookEx(HookHandle(), code, wParam, lParam) != 0 ? 1 : 0;
}

void WINAPI StartKeyboardHook(HWND window) {
    // The target is in the block before the hook exists, so the first key press finds it.
    Block->TargetWindow = HandleToField(reinterpret_cast<std::uintptr_t>(window));
    const HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardHandler, LibraryModule, 0);
    Block->HookHandle = HandleToField(reinterpret_cast<std::uintptr_t>(hook));
}

BOOL WINAPI StopKeyboardHook() {
    return UnhookWindowsHookEx(HookHandle());
}

// The library's entry point in place of the C runtime's: each process that loads the library links
// the shared block, and a process where that fails does not get the library at all.
extern "C" BOOL WINAPI DllEntry(HINSTANCE instance, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        LibraryModule = instance;
        DisableThreadLibraryCalls(instance);
        Block = MapSharedBlock(Mapping);
        return Block != nullptr;
    case DLL_PROCESS_DETACH:
        if (Block)
            UnmapViewOfFile(Block);
        if (Mapping)
            CloseHandle(Mapping);
        break;
    }
    return TRUE;
}
