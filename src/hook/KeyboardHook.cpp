// The keyboard hook: one low-level hook, installed by the program and run in the program itself.
// Windows calls a low-level hook on the thread that installed it, for the keys typed into every
// program of either bitness and of any kind, and loads the library into no other program. It waits
// for the hook on every key typed anywhere, passes the key on without it after the system's time-out,
// and removes a hook that keeps timing out; so the hook has a thread of its own that does nothing but
// the hook and its message loop, and nothing the program does can delay it.
//
// The library is still built without the C and C++ runtimes: the per-key path reads the shared block,
// at most once the modifier state, and allocates, formats and raises nothing.
//
// The programs in which the hot keys are off are read by the hook thread itself, from the registry
// into fixed buffers: at its start and whenever the program's registry key changes (a notification
// that reaches the thread's loop as a message), so that Apply takes effect at once without anything
// passing between the program's thread and this one. The foreground program's name is asked
// for only for a key that is a hot key, and only once per change of the foreground window's process.
#define TARNWICK2_BUILD
#include "KeyboardHook.h"

#include "../common/ProgramNames.h"
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

// --- The listed programs; only the hook thread touches these. ---

wchar_t ListedNames[MaxListedPrograms][MaxProgramNameLength + 1];
unsigned ListedLengths[MaxListedPrograms];
int ListedCount = 0;
wchar_t EntryBuffer[MaxProgramEntryBytes / sizeof(wchar_t)]; // one stored value
wchar_t ImagePath[32768];                                    // the foreground program's path

// A change of the watched key signals the event; a wait of the system's thread pool then posts
// WM_PROGRAMS_CHANGED to the hook thread, whose plain message loop reads the list again. (The loop
// stays GetMessageW: waiting on the event beside the messages in the hook thread itself delayed the
// key state that the hook reads, under Wine.)
constexpr UINT WM_PROGRAMS_CHANGED = WM_APP + 1;
HKEY WatchedKey = nullptr;
HANDLE ListChanged = nullptr, ListWait = nullptr;
DWORD ListThreadId = 0;

// Posted by StartKeyboardHook to a running hook thread: install the hook anew.
constexpr UINT WM_RENEW_HOOK = WM_APP + 2;

VOID CALLBACK OnListChanged(PVOID, BOOLEAN) {
    PostThreadMessageW(ListThreadId, WM_PROGRAMS_CHANGED, 0, 0);
}

// The foreground window and process last asked about, and what was found. The process stays open
// while it is the one in front, so that its id cannot pass to a program started after it ended.
HWND CachedWindow = nullptr;
DWORD CachedProcess = 0;
HANDLE CachedHandle = nullptr;
wchar_t CachedName[MaxProgramNameLength + 1];
unsigned CachedNameLength = 0; // 0: the name is unknown
bool CachedListed = false;

bool IsListed(const wchar_t* name, unsigned length) {
    for (int i = 0; i < ListedCount; ++i)
        if (CompareStringOrdinal(name, static_cast<int>(length), ListedNames[i],
                                 static_cast<int>(ListedLengths[i]), TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

// "Program" and the index in decimal.
void ProgramValueName(wchar_t (&name)[16], unsigned index) {
    const wchar_t prefix[] = L"Program";
    unsigned length = 0;
    for (; prefix[length]; ++length)
        name[length] = prefix[length];
    wchar_t digits[10];
    unsigned count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + index % 10);
        index /= 10;
    } while (index);
    while (count)
        name[length++] = digits[--count];
    name[length] = 0;
}

void ReadListedPrograms(HKEY key) {
    ListedCount = 0;
    DWORD count = 0, type = 0, size = sizeof count;
    if (RegQueryValueExW(key, L"ProgramCount", nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof count)
        return;
    for (DWORD index = 0; index < count && index < static_cast<DWORD>(MaxListedPrograms); ++index) {
        wchar_t name[16];
        ProgramValueName(name, index);
        size = sizeof EntryBuffer;
        if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(EntryBuffer), &size) !=
                ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            continue; // missing, of another type, or larger than any entry that counts
        std::size_t length = 0;
        while (length < size / sizeof(wchar_t) && EntryBuffer[length])
            ++length;
        const std::size_t start = ProgramNameStart(EntryBuffer, length);
        const std::size_t nameLength = ProgramNameLength(length, start);
        if (nameLength == 0)
            continue;
        for (std::size_t i = 0; i < nameLength; ++i)
            ListedNames[ListedCount][i] = EntryBuffer[start + i];
        ListedLengths[ListedCount++] = static_cast<unsigned>(nameLength);
    }
}

// Watches the program's key and everything below it, or, while it does not exist, the nearest key
// above it that does (so that its creation is seen too), and reads the list again. The watch is
// armed before the read: a change during the read signals once more.
void WatchAndReadPrograms() {
    static const wchar_t* const watchPaths[] = {L"Software\\Orvane\\Wordlark2", L"Software\\Orvane",
                                                L"Software"};
    if (WatchedKey)
        RegCloseKey(WatchedKey);
    WatchedKey = nullptr;
    for (const wchar_t* path : watchPaths) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_NOTIFY, &key) != ERROR_SUCCESS)
            continue;
        if (RegNotifyChangeKeyValue(key, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                    ListChanged, TRUE) == ERROR_SUCCESS) {
            WatchedKey = key;
            break;
        }
        RegCloseKey(key);
    }
    ListedCount = 0;
    HKEY programs = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, ProgramsKeyW, 0, KEY_QUERY_VALUE, &programs) == ERROR_SUCCESS) {
        ReadListedPrograms(programs);
        RegCloseKey(programs);
    }
    CachedListed = CachedNameLength != 0 && IsListed(CachedName, CachedNameLength);
}

// The file name of the process's program into CachedName; its length, 0 when it cannot be found.
unsigned FindProgramName(HANDLE process) {
    DWORD length = sizeof ImagePath / sizeof ImagePath[0];
    if (!QueryFullProcessImageNameW(process, 0, ImagePath, &length))
        return 0;
    const std::size_t start = ProgramNameStart(ImagePath, length);
    const std::size_t nameLength = ProgramNameLength(length, start);
    for (std::size_t i = 0; i < nameLength; ++i)
        CachedName[i] = ImagePath[start + i];
    return static_cast<unsigned>(nameLength);
}

struct THookSystem {
    // The hook's record of the modifiers, and where it cannot know, the system-wide state, not this
    // thread's: the key may be bound to another program's window, whose input state this thread does
    // not share. For a low-level hook it is the state before this key.
    std::uint8_t Modifiers() {
        const DWORD now = GetTickCount();
        return MakePressedKeyCombo(0, false,
                                   [now](std::uint16_t vk) {
                                       return ModifierTrack.IsDown(
                                           vk, now, [vk] { return (GetAsyncKeyState(vk) & 0x8000) != 0; });
                                   })
            .Modifiers();
    }
    bool TargetIsForeground() { return TargetWindow() == GetForegroundWindow(); }
    // An unreadable value leaves the defaults in the block for every later key press; the key
    // that met it passes on, as a failed load must not cost the user a key.
    bool LoadHotKeys(TSharedSettings& block) { return LoadKeyCombos(block).FailedIndex < 0; }
    // Asked only for a hot key: one call while the same window stays in front, two for another
    // window of the same program, and the name itself only for another program.
    bool ForegroundProgramExcluded() {
        if (ListedCount == 0)
            return false;
        const HWND foreground = GetForegroundWindow();
        if (foreground != CachedWindow) {
            CachedWindow = foreground;
            DWORD processId = 0;
            if (!foreground || !GetWindowThreadProcessId(foreground, &processId))
                processId = 0;
            // A process that cannot be opened (an elevated program, one that has just ended) has no
            // name: its keys are decided as in any program, and it is asked again next time.
            if (processId != CachedProcess || !CachedHandle) {
                if (CachedHandle)
                    CloseHandle(CachedHandle);
                CachedProcess = processId;
                CachedHandle =
                    processId ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId) : nullptr;
                CachedNameLength = CachedHandle ? FindProgramName(CachedHandle) : 0;
                CachedListed = CachedNameLength != 0 && IsListed(CachedName, CachedNameLength);
            }
        }
        return CachedListed;
    }
};

// Windows removes a low-level hook that once takes too long, without a word, above all after the
// computer wakes, when this thread's pages must be read back from disk first; so the program has it
// installed anew on waking and on unlocking. The new hook goes in before the old one comes off: no
// key goes unseen meanwhile, and none is looked up twice, because the new hook is called first and
// a hot key that it swallows never reaches the old one. Keys may have passed while no hook was in,
// so the record of the modifiers starts afresh.
HHOOK RenewHook(HHOOK old) {
    const HHOOK fresh = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHandler, LibraryModule, 0);
    if (!fresh)
        return old;
    Block->HookHandle = HandleToField(reinterpret_cast<std::uintptr_t>(fresh));
    UnhookWindowsHookEx(old); // fails, harmlessly, where Windows has removed it already
    ModifierTrack.Forget();
    return fresh;
}

// The thread holds a reference on the library for as long as it runs, so that the code it runs
// cannot be unloaded under it, and ends through FreeLibraryAndExitThread.
DWORD WINAPI HookThreadMain(LPVOID) {
    MSG message;
    // The thread's message queue exists before StartKeyboardHook returns, so that the quit message
    // of StopKeyboardHook cannot be lost.
    PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    ListThreadId = GetCurrentThreadId();
    ListChanged = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (ListChanged && !RegisterWaitForSingleObject(&ListWait, ListChanged, OnListChanged, nullptr, INFINITE,
                                                    WT_EXECUTEINWAITTHREAD))
        ListWait = nullptr;
    WatchAndReadPrograms();
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHandler, LibraryModule, 0);
    Block->HookHandle = HandleToField(reinterpret_cast<std::uintptr_t>(hook));
    SetEvent(HookReady);
    DWORD result = 1;
    if (hook) {
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            if (message.message == WM_PROGRAMS_CHANGED && !message.hwnd)
                WatchAndReadPrograms();
            else if (message.message == WM_RENEW_HOOK && !message.hwnd) {
                hook = RenewHook(hook);
                SetEvent(HookReady);
            } else
                DispatchMessageW(&message);
        result = UnhookWindowsHookEx(hook) ? 0 : 1;
    }
    // Keys pass unseen from now on; a hook started later starts from what the system says.
    ModifierTrack.Forget();
    // The wait goes first, with its last call, if one runs: then nothing posts or signals any more.
    if (ListWait)
        UnregisterWaitEx(ListWait, INVALID_HANDLE_VALUE);
    if (WatchedKey)
        RegCloseKey(WatchedKey);
    if (ListChanged)
        CloseHandle(ListChanged);
    if (CachedHandle)
        CloseHandle(CachedHandle);
    ListWait = nullptr;
    WatchedKey = nullptr;
    ListChanged = nullptr;
    CachedHandle = nullptr;
    CachedWindow = nullptr;
    CachedProcess = 0;
    CachedNameLength = 0;
    FreeLibraryAndExitThread(LibraryModule, result);
    return result;
}

// Bounded: a thread that has not installed its hook by then counts as a failed start.
bool WaitForHookThread() {
    const HANDLE waitFor[] = {HookReady, HookThread};
    return WaitForMultipleObjects(2, waitFor, FALSE, StartLimit) == WAIT_OBJECT_0;
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
    // One hook per process. A second start, while the thread runs, has the thread install its hook
    // anew (new first, then the old one off), and waits for it as for the first.
    if (HookThread && WaitForSingleObject(HookThread, 0) == WAIT_TIMEOUT) {
        Block->TargetWindow = HandleToField(reinterpret_cast<std::uintptr_t>(window));
        ResetEvent(HookReady);
        if (PostThreadMessageW(HookThreadId, WM_RENEW_HOOK, 0, 0))
            WaitForHookThread();
        return;
    }
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
    if (!WaitForHookThread()) {
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
