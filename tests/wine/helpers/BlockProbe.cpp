// A helper process for the tests: links the shared block as every process does, writes its 24
// bytes in hexadecimal to the file given, and exits.
#include <cstdio>

#include "Settings.h"

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    try {
        TSettingsLink link;
        HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, SharedSettingsName);
        if (!mapping)
            return 3;
        const auto* bytes =
            static_cast<const unsigned char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 24));
        FILE* out = std::fopen(argv[1], "w");
        for (int i = 0; bytes && out && i < 24; ++i)
            std::fprintf(out, "%02X", bytes[i]);
        if (out)
            std::fclose(out);
        if (bytes)
            UnmapViewOfFile(bytes);
        CloseHandle(mapping);
        return bytes && out ? 0 : 4;
    } catch (...) {
        return 5;
    }
}
