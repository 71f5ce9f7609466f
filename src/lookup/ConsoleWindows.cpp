#include "ConsoleWindows.h"

#include <algorithm>
#include <iterator>

namespace {

const char* const ConsoleWindowClasses[] = {
    "ConsoleWindowClass",            // the classic console
    "CASCADIA_HOSTING_WINDOW_CLASS", // Windows Terminal
    "WineConsoleClass",              // Wine's console
    "mintty",
    "VirtualConsoleClass", // ConEmu
};

} // namespace

bool IsConsoleWindowClass(const std::string& className) {
    return std::find(std::begin(ConsoleWindowClasses), std::end(ConsoleWindowClasses), className) !=
           std::end(ConsoleWindowClasses);
}
