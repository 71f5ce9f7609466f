// The one error type of the project. Errors are raised only where an invariant breaks:
// an assertion failure, or a registry value of the wrong type.
#pragma once

#include <stdexcept>
#include <string>

class TWordlarkError : public std::runtime_error {
public:
    explicit TWordlarkError(const std::string& message) : std::runtime_error(message) {}
};

// "%s (%s, line %d)": the text, the source name and the line number of the broken invariant.
[[noreturn]] void RaiseAssertion(const char* text, const char* source, int line);

// The message with every "%s" replaced by the name (registry messages name the value).
std::string FormatNamed(const char* format, const std::string& name);
