// What the keyboard hook costs. First per call (HookBenchmark.cpp): `KeyboardHandler` called as the
// system calls a low-level hook, against a do-nothing hook that only passes the key on. Then the
// delay that the hook adds to a key typed into another program: from the key sent to its
// arrival in a 64-bit and a 32-bit KeyTarget's window (performance-counter stamps in both processes),
// with no hook, with a do-nothing low-level hook in a process of its own, and with the real WL.exe,
// once with no programs listed on the Programs page and once with 100 listed, the two KeyTargets
// among them. Keys: L, the main key of a hot key (typed alone, so it passes on), A, which cannot be
// a hot key, and Ctrl + L, the hot key itself, which reaches the KeyTarget only where it is listed.
// Rounds interleave the three cases, so that load from other programs falls on each alike.
// Usage: KeyDelayBenchmark [rounds] [keys per round and case]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <cstring>
#include <vector>

#include "Settings.h"
#include "TestSupport.h"
#include "WinHandles.h"

using namespace TestSupport;

namespace {

long long Counter() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LRESULT CALLBACK DoNothingHook(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

constexpr const char* ReadyEventName = "WordlarkDelayBenchmarkHookReady";
constexpr const char* StopEventName = "WordlarkDelayBenchmarkHookStop";

// This program started again as a process of its own that only holds a do-nothing low-level hook,
// as WL.exe holds its hook in a process of its own; it ends when the stop event is set.
int RunDoNothingHook() {
    const TUniqueHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, ReadyEventName));
    const TUniqueHandle stop(OpenEventA(SYNCHRONIZE, FALSE, StopEventName));
    if (!ready || !stop)
        return 2;
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, DoNothingHook, GetModuleHandleA(nullptr), 0);
    SetEvent(ready.Get());
    HANDLE waitFor = stop.Get();
    while (MsgWaitForMultipleObjects(1, &waitFor, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            ;
    }
    UnhookWindowsHookEx(hook);
    return 0;
}

class TDoNothingHook {
public:
    TDoNothingHook()
        : Ready(CreateEventA(nullptr, FALSE, FALSE, ReadyEventName)),
          Stop(CreateEventA(nullptr, TRUE, FALSE, StopEventName)),
          Process(Quoted(ExeDir() + "\\KeyDelayBenchmark.exe") + " hook") {
        WaitForSingleObject(Ready.Get(), 10000);
    }
    ~TDoNothingHook() {
        SetEvent(Stop.Get());
        Process.Wait(10000);
    }

private:
    TUniqueHandle Ready, Stop;
    TProcess Process;
};

struct TTarget {
    const char* Name;
    std::string Log;
    std::unique_ptr<TProcess> Process;
    HWND Window = nullptr;
    std::size_t LinesRead = 0;

    TTarget(const char* name, const std::string& program) : Name(name), Log(TempFile("delay")) {
        Process = std::make_unique<TProcess>(Quoted(BuildFile(program)) + " " + Quoted(Log) + " " + name +
                                             " \"\" times");
        Window = WaitForWindow("WordlarkKeyTarget", name, 10000, Process->Id());
    }
    // The stamp of the next line that the target logs, once it is there.
    long long NextStamp() {
        std::vector<std::string> lines;
        const ULONGLONG end = GetTickCount64() + 5000;
        while ((lines = ReadLines(Log)).size() <= LinesRead && GetTickCount64() < end)
            Sleep(1);
        if (lines.size() <= LinesRead)
            return 0;
        std::istringstream line(lines[LinesRead]);
        LinesRead = lines.size();
        std::string direction, key, extended;
        long long stamp = 0;
        line >> direction >> key >> extended >> stamp;
        return stamp;
    }
};

// Microseconds from each key going down to its arrival; with Ctrl held around it when asked.
void TypeKeys(TTarget& target, WORD key, bool withCtrl, int count, std::vector<double>& delays) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    Activate(target.Window);
    Sleep(50);
    target.LinesRead = ReadLines(target.Log).size();
    for (int i = 0; i < count; ++i) {
        if (withCtrl) {
            KeyDown(VK_CONTROL);
            target.NextStamp();
        }
        const long long sent = Counter();
        KeyDown(key);
        const long long arrived = target.NextStamp();
        KeyUp(key);
        target.NextStamp();
        if (withCtrl) {
            KeyUp(VK_CONTROL);
            target.NextStamp();
        }
        if (arrived)
            delays.push_back(1e6 * static_cast<double>(arrived - sent) /
                             static_cast<double>(frequency.QuadPart));
    }
}

double Percentile(std::vector<double> values, double share) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(share * static_cast<double>(values.size() - 1))];
}

// 100 programs, the two KeyTargets last, so that a match compares the whole list.
std::vector<std::wstring> HundredPrograms() {
    std::vector<std::wstring> names;
    for (int i = 0; i < 98; ++i)
        names.push_back(L"Program" + std::to_wstring(i) + L".exe");
    names.push_back(L"KeyTarget.exe");
    names.push_back(L"KeyTarget32.exe");
    return names;
}

} // namespace

// The hook's time per call, `calls` calls a case in each of `rounds` (HookBenchmark.cpp).
void PrintHookCallTimes(int rounds, int calls);

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "hook") == 0)
        return RunDoNothingHook();
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const int keys = argc > 2 ? std::atoi(argv[2]) : 60;
    TSettingsLink link;
    ClearProgramRegistry();
    PrintHookCallTimes(rounds * 2, 20);
    TTarget targets[] = {{"Delay64", "KeyTarget.exe"}, {"Delay32", "KeyTarget32.exe"}};
    constexpr int Cases = 4, Keys = 3;
    const WORD mainKeys[Keys] = {'L', 'A', 'L'};
    const char* keyNames[Keys] = {"L", "A", "^L"};
    const char* caseNames[Cases] = {"no hook", "do-nothing low-level hook", "WL.exe",
                                    "WL.exe, 100 programs listed"};
    // delays[case][target][key]
    std::vector<double> delays[Cases][2][Keys];
    for (int round = 0; round < rounds; ++round) {
        for (int c = 0; c < Cases; ++c) {
            std::unique_ptr<TDoNothingHook> doNothing;
            TWordlark wordlark;
            if (c == 1)
                doNothing = std::make_unique<TDoNothingHook>();
            if (c >= 2) {
                ASettings::SetPrograms(c == 3 ? HundredPrograms() : std::vector<std::wstring>{});
                if (!(wordlark = TWordlark::Start()).Window) {
                    std::fprintf(stderr, "WL.exe did not start\n");
                    return 1;
                }
            }
            for (int t = 0; t < 2; ++t)
                for (int k = 0; k < Keys; ++k)
                    if (k != 2 || c != 2) // where nothing is listed, WL.exe takes Ctrl + L
                        TypeKeys(targets[t], mainKeys[k], k == 2, keys, delays[c][t][k]);
            if (c >= 2)
                wordlark.Quit();
        }
    }
    ClearProgramRegistry();

    std::printf(
        "%d rounds of %d keys per case, program and key; delay from the key sent to its arrival, us\n",
        rounds, keys);
    std::printf("%-8s %-4s %-28s %8s %8s %10s %8s\n", "program", "key", "case", "median", "p95", "added med",
                "ratio");
    for (int t = 0; t < 2; ++t)
        for (int k = 0; k < Keys; ++k) {
            const double none = Percentile(delays[0][t][k], 0.5);
            const double doNothingAdded = Percentile(delays[1][t][k], 0.5) - none;
            for (int c = 0; c < Cases; ++c) {
                if (delays[c][t][k].empty())
                    continue;
                const double median = Percentile(delays[c][t][k], 0.5);
                std::printf("%-8s %-4s %-28s %8.0f %8.0f %10.0f", targets[t].Name, keyNames[k], caseNames[c],
                            median, Percentile(delays[c][t][k], 0.95), median - none);
                if (c >= 2 && doNothingAdded > 0)
                    std::printf(" %8.2f", (median - none) / doNothingAdded);
                std::printf("\n");
            }
        }
    std::printf("ratio: the delay WL.exe adds over the delay the do-nothing low-level hook adds\n");
    for (int t = 0; t < 2; ++t) {
        const double l = Percentile(delays[2][t][0], 0.5), a = Percentile(delays[2][t][1], 0.5);
        std::printf("%s, 100 listed over none listed: L %.2f, A %.2f; Ctrl + L passed on over L with none "
                    "listed: %.2f\n",
                    targets[t].Name, l > 0 ? Percentile(delays[3][t][0], 0.5) / l : 0,
                    a > 0 ? Percentile(delays[3][t][1], 0.5) / a : 0,
                    l > 0 ? Percentile(delays[3][t][2], 0.5) / l : 0);
    }
    return 0;
}
