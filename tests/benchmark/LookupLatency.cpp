// How long a Quick Lookup takes from the injected hot key to the start of the browser, with the real
// WL.exe, another program holding a selected word in front, and a stand-in browser that records the
// moment it starts. Every lookup contains the 100 ms settle wait; the ratio to it is the figure.
// Then how quickly the program answers a message shortly after another program changed the
// clipboard, against the same without a change, for this WL.exe and for another build if given.
// Usage: LookupLatency [runs] [other WL.exe]
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchmarkSupport.h"
#include "Settings.h"

using namespace TestSupport;

namespace {

constexpr double SettleWaitMs = 100.0;

// The median time for the window to answer WM_NULL, in milliseconds; with `change`, each question is
// asked 10 ms after another program changed the clipboard.
double MedianAnswerMs(HWND window, int runs, bool change) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        PumpMessages(200); // the previous change has long been handled
        if (change) {
            PutTextOnClipboard("another program's copy " + std::to_string(run));
            Sleep(10);
        }
        const long long asked = Counter();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        times.push_back(1000.0 * static_cast<double>(Counter() - asked) /
                        static_cast<double>(frequency.QuadPart));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PrintAnswerTimes(const char* program, double quiet, double afterChange) {
    std::printf("%s answers a message in %.3f ms, 10 ms after a clipboard change in %.3f ms (%.1fx)\n",
                program, quiet, afterChange, afterChange / quiet);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = std::max(argc > 1 ? std::atoi(argv[1]) : 30, 1);
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);

    TSettingsLink link;
    ClearProgramRegistry();
    ASettings::SetEnabled(true);
    const std::string log = TempFile("latency");
    SetBrowserCommand("\"" + BuildFile("LatencyBrowser.exe") + "\" \"" + log + "\" \"%1\"");
    TWordlark app = TWordlark::Start();
    TSelectionHolder holder;
    if (!app.Window || !holder.Window()) {
        std::fprintf(stderr, "could not start WL.exe or the selection holder\n");
        return 1;
    }

    std::vector<double> latencies;
    for (int run = -2; run < runs; ++run) { // two unmeasured runs warm the caches up
        const double ms = HotKeyToBrowser(holder, "latency", log);
        if (ms < 0) {
            const TClipboardContents clipboard = ClipboardContents();
            std::fprintf(stderr, "run %d: no browser start within 5 s; clipboard text '%s'\n", run,
                         ClipboardFormatBytes(clipboard, CF_TEXT).c_str());
            return 1;
        }
        if (run >= 0)
            latencies.push_back(ms);
        PumpMessages(200);
    }
    // The browser's start alone, as the program asks the shell for it: a cost of the system, in
    // every lookup.
    std::vector<double> starts;
    const std::string browser = BuildFile("LatencyBrowser.exe");
    const std::string parameters = "\"" + log + "\" \"http://example/\"";
    for (int run = 0; run < runs; ++run) {
        DeleteFileA(log.c_str());
        const long long asked = Counter();
        ShellExecuteA(nullptr, "open", browser.c_str(), parameters.c_str(), nullptr, SW_SHOWDEFAULT);
        std::vector<std::string> lines;
        if (WaitUntil([&] { return !(lines = ReadLines(log)).empty(); }, 5000))
            starts.push_back(1000.0 * static_cast<double>(std::atoll(lines[0].c_str()) - asked) /
                             static_cast<double>(frequency.QuadPart));
        PumpMessages(100);
    }
    DeleteFileA(log.c_str());
    const double quiet = MedianAnswerMs(app.Window, runs, false),
                 changed = MedianAnswerMs(app.Window, runs, true);
    app.Quit();

    const double median = Median(latencies); // and sorted, best first
    std::printf("Quick Lookup, injected hot key to browser start, %zu runs\n", latencies.size());
    std::printf("  best   %7.1f ms\n", latencies.front());
    std::printf("  median %7.1f ms   (%.2fx the %.0f ms settle wait)\n", median, median / SettleWaitMs,
                SettleWaitMs);
    std::printf("  worst  %7.1f ms\n", latencies.back());
    if (!starts.empty()) {
        std::sort(starts.begin(), starts.end());
        const double start = starts[starts.size() / 2];
        std::printf("The browser's start alone (ShellExecute to its first instruction), median %.1f ms\n",
                    start);
        std::printf("Without it, the lookup's median is %.1f ms (%.2fx the settle wait)\n", median - start,
                    (median - start) / SettleWaitMs);
    }
    PrintAnswerTimes("This WL.exe", quiet, changed);
    if (argc > 2) {
        TWordlark other = TWordlark::Start(argv[2]);
        if (!other.Window)
            return 1;
        const double otherQuiet = MedianAnswerMs(other.Window, runs, false);
        const double otherChanged = MedianAnswerMs(other.Window, runs, true);
        other.Quit();
        PrintAnswerTimes(argv[2], otherQuiet, otherChanged);
        std::printf("After a clipboard change this WL.exe answers in %.4fx the other's time\n",
                    changed / otherChanged);
    }
    return 0;
}
