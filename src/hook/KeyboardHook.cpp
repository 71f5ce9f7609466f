// The keyboard hook: one low-level hook, installed by the program and run in the program itself.
// Windows calls a low-level hook on the thread that installed it, for the keys typed into every
// program of either bitness and of any kind, and loads the library into no other program. It waits
// for the hook on every key typed anywhere, passes the key on without it after the system's time-out,
// and removes a hook that keeps timing out; so the hook has a thread of its own that does nothing but
// the hook and its message loop, and nothing the program does can delay it.
//
// The library is still built without the C and C++ runtimes: the per-key path reads the shared block,
// at most once the modifier state, and allocates, formats and raises nothing.
#define TARNWICK2_BUILD
#include "KeyboardHook.h"

#include "../common/SharedBlockMap.h"
#include "HookDecision.h"

namespace {

HMODULE LibraryModule = nullptr;
HANDLE Mapping = nullptr;
TSharedSettings* Block = nullptr;

// This process's hook thread, owned by StartKeyboardHook and StopKeyboardHook (the program's
// main thread); the thread itself only reads them.
HANDLE HookThread = nullptr;
DWORD HookThreadId = 0;
HANDLE HookReady = nullptr;

constexpr DWORD StartLimit = 5000, StopLimit = 5000; // milliseconds

HWND TargetWindow() {
    return reinterpret_cast<HWND>(FieldToHandle(Block->TargetWindow));
}

// Touched only on the hook's thread.
TModifierTrack ModifierTrack;

struct THookSystem {
    // The system-wide state, not this thread's: the key may be bound to another program's window,
    // whose input state this thread does not share. For a low-level hook it is the state before
    // this key.
    std::uint8_t Modifiers() {
        const DWORD now = GetTickCount();
        return MakePressedKeyCombo(0, false,
                                   [now](std::uint16_t vk) {
                                       return ModifierTrack.IsDown(vk, (GetAsyncKeyState(vk) & 0x8000) != 0,
                                                                   now);
                                   })
            .Modifiers();
    }
    bool TargetIsForeground() { return TargetWindow() == GetForegroundWindow(); }
    // An unreadable value leaves the defaults in the block for every later key press; the key
    // that met it passes on, as a failed load must not cost the user a key.
    bool LoadHotKeys(TSharedSettings& block) { return LoadKeyCombos(block).FailedIndex < 0; }
};

// The thread holds a reference on the library for as long as it runs, so that the code it runs
// cannot be unloaded under it, and ends through FreeLibraryAndExitThread.
DWORD WINAPI HookThreadMain(LPVOID) {
    MSG message;
    // The thread's message queue exists before StartKeyboardHook returns, so that the quit message
    // of StopKeyboardHook cannot be lost.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    const HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHandler, LibraryModule, 0);
    Block->HookHandle = HandleToField(reinterpret_cast<std::uintptr_t>(hook));
    SetEvent(HookReady);
    DWORD result = 1;
    if (hook) {
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        result = UnhookWindowsHookEx(hook) ? 0 : 1;
    }
    FreeLibraryAndExitThread(LibraryModule, result);
    return result;
}

} // namespace

LRESULT CALLBACK KeyboardHandler(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    ModifierTrack.Note(static_cast<std::uint16_t>(event->vkCode), (event->flags & LLKHF_EXTENDED) != 0,
                       (event->flags & LLKHF_UP) != 0, GetTickCount());
    THookSystem system;
    const THookDecision decision =
        DecideKey(code, event->vkCode, KeyDataOfLowLevelFlags(event->flags), *Block, system);
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
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WINAPI StartKeyboardHook(HWND window) {
    // One hook per process: a second start replaces the first.
    if (HookThread)
        StopKeyboardHook();
    // The target is in the block before the hook exists, so the first key press finds it.
    Block->TargetWindow = HandleToField(reinterpret_cast<std::uintptr_t>(window));
    HMODULE reference = nullptr;
    HookReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!HookReady || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                          reinterpret_cast<LPCWSTR>(&KeyboardHandler), &reference)) {
        Block->HookHandle = 0;
        return;
    }
    HookThread = CreateThread(nullptr, 0, HookThreadMain, nullptr, 0, &HookThreadId);
    if (!HookThread) {
        FreeLibrary(reference);
        Block->HookHandle = 0;
        return;
    }
    // Bounded: a thread that has not installed its hook by then counts as a failed start.
    const HANDLE waitFor[] = {HookReady, HookThread};
    if (WaitForMultipleObjects(2, waitFor, FALSE, StartLimit) != WAIT_OBJECT_0) {
        PostThreadMessageW(HookThreadId, WM_QUIT, 0, 0);
        Block->HookHandle = 0;
    }
}

// Ends this process's hook thread, which removes the hook. The block keeps its fields: another copy
// of the program may have written its own hook there meanwhile.
BOOL WINAPI StopKeyboardHook() {
    if (!HookThread)
        return FALSE;
    PostThreadMessageW(HookThreadId, WM_QUIT, 0, 0);
    DWORD result = 1;
    if (WaitForSingleObject(HookThread, StopLimit) != WAIT_OBJECT_0 ||
        !GetExitCodeThread(HookThread, &result))
        result = 1;
    CloseHandle(HookThread);
    CloseHandle(HookReady);
    HookThread = HookReady = nullptr;
    HookThreadId = 0;
    return result == 0;
}

// The library's entry point in place of the C runtime's: the process that loads the library links
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
