// Stands in for the web browser in the lookup latency benchmark: the first thing it does is write
// the moment it started (QueryPerformanceCounter, which agrees across processes) to its log.
// A windows program, as browsers are: a console program would get a console window of its own,
// which takes the foreground from the program the user works in.
// Usage: LatencyBrowser <log file> [url]
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    const int argc = __argc;
    char** const argv = __argv;
    if (argc < 2)
        return 2;
    FILE* log = std::fopen(argv[1], "a");
    if (!log)
        return 3;
    std::fprintf(log, "%lld %s\n", static_cast<long long>(now.QuadPart), argc > 2 ? argv[2] : "");
    std::fclose(log);
    return 0;
}
