// Times the hook procedure per call, against a do-nothing hook procedure that only passes the key
// on, in the same run. The ratio says how much work a key press adds to the cheapest possible hook.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Settings.h"
#include "hook/KeyboardHook.h"

namespace {

LRESULT CALLBACK DoNothingHook(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using THookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);

void SetKeysDown(std::initializer_list<BYTE> keys) {
    BYTE state[256] = {};
    for (BYTE key : keys)
        state[key] = 0x80;
    SetKeyboardState(state);
}

// Mean time of one call in microseconds; the hot key's messages are removed between batches.
double TimePerCall(THookProc proc, WPARAM key, LPARAM keyData, int calls) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    LONGLONG ticks = 0;
    for (int done = 0; done < calls; done += 500) {
        QueryPerformanceCounter(&start);
        for (int i = 0; i < 500; ++i)
            proc(HC_ACTION, key, keyData);
        QueryPerformanceCounter(&end);
        ticks += end.QuadPart - start.QuadPart;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
    }
    return 1e6 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart) / calls;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

// Rounds interleave the cases, and each round's ratios use that round's own baseline, so that load
// from other programs on a shared machine affects both sides of a ratio alike.
int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    TSettingsLink link;
    HWND target = CreateWindowExA(0, "STATIC", "Benchmark Target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASettings::SetTargetWindow(target);
    ASettings::SetEnabled(true);
    ASettings::SetConfigWindowShown(false);
    ASettings::GetKeyCombo(0); // the one-time load from the registry is not part of a key press

    const LPARAM down = 0x00260001, up = static_cast<LPARAM>(0xC0260001);
    struct TCase {
        const char* Name;
        THookProc Proc;
        WPARAM Key;
        LPARAM KeyData;
        std::initializer_list<BYTE> KeysDown;
        std::vector<double> Times, Ratios;
    } cases[] = {
        {"do-nothing hook (CallNextHookEx)", DoNothingHook, 'L', down, {}, {}, {}},
        {"key-up", KeyboardHandler, 'L', up, {}, {}, {}},
        {"A, cannot be a hot key", KeyboardHandler, 'A', down, {}, {}, {}},
        {"Ctrl + A, cannot be a hot key", KeyboardHandler, 'A', down, {VK_CONTROL}, {}, {}},
        {"L alone (candidate, no modifier)", KeyboardHandler, 'L', down, {}, {}, {}},
        {"Ctrl + Alt + L (candidate, no hot key)", KeyboardHandler, 'L', down, {VK_CONTROL, VK_MENU}, {}, {}},
        {"Ctrl + L (hot key, posted)", KeyboardHandler, 'L', down, {VK_CONTROL}, {}, {}},
    };
    for (int round = 0; round < rounds; ++round) {
        for (TCase& c : cases) {
            SetKeysDown(c.KeysDown);
            c.Times.push_back(TimePerCall(c.Proc, c.Key, c.KeyData, calls));
            c.Ratios.push_back(c.Times.back() / cases[0].Times.back());
        }
    }

    std::printf("%d rounds of %d calls per case; medians\n", rounds, calls);
    std::printf("%-40s %10s %8s\n", "case", "us/call", "ratio");
    for (const TCase& c : cases)
        std::printf("%-40s %10.2f %8.2f\n", c.Name, Median(c.Times), Median(c.Ratios));
    DestroyWindow(target);
    return 0;
}
