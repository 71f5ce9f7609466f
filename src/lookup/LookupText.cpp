#include "LookupText.h"

#include <bitset>

namespace {

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

bool IsAcceleratorChar(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

unsigned char AcceleratorKey(char c) {
    return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

// Position of the character after the caption's accelerator "&", or npos. "&&" is a literal "&".
std::size_t AcceleratorPosition(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] != '&')
            return i + 1;
        ++i;
    }
    return std::string::npos;
}

// The first free digit or letter: word starts are preferred, as users expect "&Glossa", not "Glo&ssa".
std::size_t FreeAcceleratorPosition(const std::string& caption, const std::bitset<256>& used) {
    std::size_t anyFree = std::string::npos;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            ++i; // skips the second "&" of a literal pair
            continue;
        }
        if (!IsAcceleratorChar(caption[i]) || used[AcceleratorKey(caption[i])])
            continue;
        const bool wordStart = i == 0 || !IsAcceleratorChar(caption[i - 1]);
        if (wordStart)
            return i;
        if (anyFree == std::string::npos)
            anyFree = i;
    }
    return anyFree;
}

} // namespace

std::string TrimBlanks(const std::string& text) {
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    if (first == text.size())
        return std::string();
    std::size_t last = text.size() - 1;
    while (last > first && IsBlank(text[last]))
        --last;
    return text.substr(first, last - first + 1);
}

void CleanLookupText(std::string& text) {
    text = TrimBlanks(text);
    const std::size_t lineEnd = text.find("\r\n");
    if (lineEnd != std::string::npos) {
        text.resize(lineEnd);
        text = TrimBlanks(text);
    }
}

std::string LinkMenuHeading(const std::string& lookupText) {
    return "Look up '" + lookupText + "' at...";
}

std::string LinkMenuCaption(const std::string& description) {
    std::string caption;
    caption.reserve(description.size());
    for (char c : description) {
        caption += c;
        if (c == '&')
            caption += '&';
    }
    return caption;
}

void AssignMenuAccelerators(std::vector<std::string>& captions) {
    std::bitset<256> used;
    std::vector<bool> hasOne(captions.size(), false);
    // Accelerators already in a caption are kept first, in menu order; a repeated one is dropped.
    for (std::size_t n = 0; n < captions.size(); ++n) {
        std::string& caption = captions[n];
        const std::size_t at = AcceleratorPosition(caption);
        if (at == std::string::npos)
            continue;
        const unsigned char key = AcceleratorKey(caption[at]);
        if (IsAcceleratorChar(caption[at]) && !used[key]) {
            used[key] = true;
            hasOne[n] = true;
        } else {
            caption.erase(at - 1, 1);
        }
    }
    for (std::size_t n = 0; n < captions.size(); ++n) {
        if (hasOne[n])
            continue;
        std::string& caption = captions[n];
        const std::size_t at = FreeAcceleratorPosition(caption, used);
        if (at == std::string::npos)
            continue;
        used[AcceleratorKey(caption[at])] = true;
        caption.insert(at, 1, '&');
    }
}

std::string WithoutAmpersands(const std::string& caption) {
    std::string result;
    result.reserve(caption.size());
    for (char c : caption)
        if (c != '&')
            result += c;
    return result;
}
