// A helper process for the tests that stands in for a web browser: it records the arguments it was
// started with and exits. Usage: StubBrowser <log file> [arguments...]; appends each argument on a
// line of its own, then "end". A windows program, as browsers are: a console program would get a
// console window of its own, which takes the foreground from the program the user works in.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const int argc = __argc;
    char** const argv = __argv;
    if (argc < 2)
        return 2;
    FILE* log = std::fopen(argv[1], "a");
    if (!log)
        return 3;
    for (int i = 2; i < argc; ++i)
        std::fprintf(log, "%s\n", argv[i]);
    std::fprintf(log, "end\n");
    std::fclose(log);
    return 0;
}
