#include "Errors.h"

#include <cstdio>

void RaiseAssertion(const char* text, const char* source, int line) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%s (%s, line %d)", text, source, line);
    throw TWordlarkError(buffer);
}

std::string FormatNamed(const char* format, const std::string& name) {
    std::string result;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            result += name;
            ++p;
        } else {
            result += *p;
        }
    }
    return result;
}
