// Times the hook procedure per call, against a do-nothing hook procedure that only passes the key
// on, in the same run. The ratio says how much work a key press adds to the cheapest possible hook.
#include <windows.h>

#include <cstdio>

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

} // namespace

int main(int argc, char** argv) {
    const int calls = argc > 1 ? std::atoi(argv[1]) : 20000;
    TSettingsLink link;
    HWND target = CreateWindowExA(0, "STATIC", "Benchmark Target", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASettings::SetTargetWindow(target);
    ASettings::SetEnabled(true);
    ASettings::SetConfigWindowShown(false);
    ASettings::GetKeyCombo(0); // the one-time load from the registry is not part of a key press

    const LPARAM down = 0x00260001, up = static_cast<LPARAM>(0xC0260001);
    SetKeysDown({});
    const double baseline = TimePerCall(DoNothingHook, 'L', down, calls);
    const double keyUp = TimePerCall(KeyboardHandler, 'L', up, calls);
    const double plain = TimePerCall(KeyboardHandler, 'L', down, calls);
    SetKeysDown({VK_CONTROL, VK_MENU});
    const double combination = TimePerCall(KeyboardHandler, 'L', down, calls);
    SetKeysDown({VK_CONTROL});
    const double hotKey = TimePerCall(KeyboardHandler, 'L', down, calls);

    std::printf("%-34s %10s %8s\n", "case", "us/call", "ratio");
    std::printf("%-34s %10.2f %8.2f\n", "do-nothing hook (CallNextHookEx)", baseline, 1.0);
    const struct {
        const char* Name;
        double Value;
    } rows[] = {{"key-up", keyUp},
                {"plain key", plain},
                {"Ctrl + Alt + L (not a hot key)", combination},
                {"Ctrl + L (hot key, posted)", hotKey}};
    for (const auto& row : rows)
        std::printf("%-34s %10.2f %8.2f\n", row.Name, row.Value, row.Value / baseline);
    DestroyWindow(target);
    return 0;
}
