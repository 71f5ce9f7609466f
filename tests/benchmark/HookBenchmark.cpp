// Part of KeyDelayBenchmark, whose first figures these are.
// Times `KeyboardHandler` per call, called as the system calls a low-level hook, against a
// do-nothing low-level hook that only passes the key on, in the same run. The ratio says how much
// work a key adds to the cheapest possible hook. Under Wine what a call costs is mostly its round
// trips to the Wine server (the key state, posting the hot key, passing the key on).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "Settings.h"
#include "hook/KeyboardHook.h"

namespace {

LRESULT CALLBACK DoNothingHook(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using THookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

LRESULT CallHook(THookProc proc, DWORD virtualKey, bool up) {
    KBDLLHOOKSTRUCT event{};
    event.vkCode = virtualKey;
    event.flags = up ? LLKHF_UP : 0;
    event.time = GetTickCount();
    return proc(HC_ACTION, up ? WM_KEYUP : WM_KEYDOWN, reinterpret_cast<LPARAM>(&event));
}

// Holds the modifiers down, or lets them go, as the user does: in the system's key state, with
// injected events (no hook of this process sees them), and in what the hook saw.
void PressModifiers(std::initializer_list<DWORD> modifiers, bool up) {
    for (DWORD modifier : modifiers) {
        keybd_event(static_cast<BYTE>(modifier), 0, up ? KEYEVENTF_KEYUP : 0, 0);
        CallHook(KeyboardHandler, modifier, up);
    }
}

// The time of each of `calls` calls in microseconds. Wine keeps the key state that a thread last
// read for 50 ms, and keys that a person types come further apart than that: so the calls are
// spaced by 60 ms, and each finds the system's state as a typed key finds it. The hot key's messages
// are removed.
void TimeCalls(THookProc proc, DWORD key, bool up, std::initializer_list<DWORD> modifiers, int calls,
               std::vector<double>& times) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    PressModifiers(modifiers, false);
    for (int i = 0; i < calls; ++i) {
        Sleep(60);
        // Warm again after the pause: a held modifier repeats, or the do-nothing hook runs once.
        for (DWORD modifier : modifiers)
            CallHook(KeyboardHandler, modifier, false);
        if (modifiers.size() == 0)
            CallHook(DoNothingHook, key, true);
        QueryPerformanceCounter(&start);
        CallHook(proc, key, up);
        QueryPerformanceCounter(&end);
        times.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
    }
    PressModifiers(modifiers, true);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        ;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

// Rounds interleave the cases, so that load from other programs on a shared machine falls on every
// case alike; the figures are medians of single calls, which a busy moment moves little.
void PrintHookCallTimes(int rounds, int calls) {
    HWND target = CreateWindowExA(0, "STATIC", "Benchmark Target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASettings::SetTargetWindow(target);
    ASettings::SetEnabled(true);
    ASettings::SetConfigWindowShown(false);
    ASettings::GetKeyCombo(0); // the one-time load from the registry is not part of a key press
    // The first candidate asks the system once for each modifier that the hook has not yet seen.
    CallHook(KeyboardHandler, 'L', false);

    struct TCase {
        const char* Name;
        THookProc Proc;
        DWORD Key;
        bool Up;
        std::initializer_list<DWORD> Modifiers;
        std::vector<double> Times;
    } cases[] = {
        {"do-nothing hook (CallNextHookEx)", DoNothingHook, 'L', false, {}, {}},
        {"key-up", KeyboardHandler, 'L', true, {}, {}},
        {"A, cannot be a hot key", KeyboardHandler, 'A', false, {}, {}},
        {"Ctrl + K, cannot be a hot key", KeyboardHandler, 'K', false, {VK_LCONTROL}, {}},
        {"L alone (candidate, no modifier)", KeyboardHandler, 'L', false, {}, {}},
        {"Ctrl + Alt + L (candidate, no hot key)", KeyboardHandler, 'L', false, {VK_LCONTROL, VK_LMENU}, {}},
        {"Ctrl + L (hot key, posted)", KeyboardHandler, 'L', false, {VK_LCONTROL}, {}},
    };
    for (int round = 0; round < rounds; ++round)
        for (TCase& c : cases)
            TimeCalls(c.Proc, c.Key, c.Up, c.Modifiers, calls, c.Times);

    std::printf("KeyboardHandler: %d rounds of %d calls per case, 60 ms apart; medians of single calls\n",
                rounds, calls);
    std::printf("%-40s %10s %8s\n", "case", "us/call", "ratio");
    const double baseline = Median(cases[0].Times);
    for (const TCase& c : cases)
        std::printf("%-40s %10.2f %8.2f\n", c.Name, Median(c.Times), Median(c.Times) / baseline);
    std::printf("\n");
    DestroyWindow(target);
}
