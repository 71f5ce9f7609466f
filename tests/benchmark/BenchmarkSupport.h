// What the lookup benchmarks share: the clock, medians, the stand-in browser (LatencyBrowser)
// registered as the system's, and the time from the injected hot key to what it brings.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "LookupSupport.h"
#include "WinHandles.h"

namespace TestSupport {

// The performance counter, which agrees across processes.
inline long long Counter() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Milliseconds between two counter readings.
inline double Ms(long long from, long long to = Counter()) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to - from) / static_cast<double>(frequency.QuadPart);
}

// The median (of an even count, the mean of the middle two), 0 for none; sorts the figures.
inline double Median(std::vector<double>& figures) {
    std::sort(figures.begin(), figures.end());
    const std::size_t n = figures.size();
    return n == 0 ? 0 : n % 2 ? figures[n / 2] : (figures[n / 2 - 1] + figures[n / 2]) / 2;
}

inline void SetBrowserCommand(const std::string& command) {
    TRegKey key;
    if (key.Create(HKEY_CLASSES_ROOT, "HTTP\\shell\\open\\command", KEY_SET_VALUE))
        RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
}

// The counter reading that the stand-in browser wrote first thing into its log; 0 before it started.
inline long long BrowserStart(const std::string& log) {
    const std::vector<std::string> lines = ReadLines(log);
    return lines.empty() ? 0 : std::atoll(lines[0].c_str());
}

// Milliseconds from the hot key pressed on `word`, selected in the holder, to the counter reading
// that `came` gives (0 until then); asked every 10 ms, or without a pause where the moment of asking
// is the figure. Negative when nothing came within 5 s.
inline double HotKeyTo(TSelectionHolder& holder, const std::string& word, bool spin,
                       const std::function<long long()>& came) {
    if (!holder.Select(word))
        std::fprintf(stderr, "the selection holder did not come to the front for '%s'\n", word.c_str());
    PumpMessages(300);
    const long long pressed = Counter();
    TypeCombo({VK_CONTROL}, 'L');
    for (long long at = 0; Ms(pressed) < 5000; spin ? Sleep(0) : PumpMessages(10))
        if ((at = came()) != 0)
            return Ms(pressed, at);
    return -1;
}

// The hot key to the start of the stand-in browser that writes this log.
inline double HotKeyToBrowser(TSelectionHolder& holder, const std::string& word, const std::string& log) {
    DeleteFileA(log.c_str());
    return HotKeyTo(holder, word, false, [&] { return BrowserStart(log); });
}

} // namespace TestSupport
