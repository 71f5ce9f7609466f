// A helper that stands in for the product's uninstaller: it appends the arguments it was started
// with, one a line, then "end", to the file named like itself with ".log" added, and exits.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    FILE* log = std::fopen((std::string(path, length) + ".log").c_str(), "a");
    if (!log)
        return 3;
    for (int i = 1; i < argc; ++i)
        std::fprintf(log, "%s\n", argv[i]);
    std::fprintf(log, "end\n");
    std::fclose(log);
    return 0;
}
