#include "LookupText.h"

#include <set>

#include "UnicodeText.h"

namespace {

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

// The character at `at` as an accelerator key (its letter case folded), or 0 when it cannot be one.
char32_t AcceleratorKey(const std::string& caption, std::size_t at, std::size_t& length) {
    const char32_t c = DecodeUtf8(caption, at, length);
    return IsKeyboardLetterOrDigit(c) ? FoldCase(c) : 0;
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

// The first free letter or digit: word starts are preferred, as users expect "&Glossa", not "Glo&ssa".
std::size_t FreeAcceleratorPosition(const std::string& caption, const std::set<char32_t>& used) {
    std::size_t anyFree = std::string::npos;
    bool afterLetter = false;
    for (std::size_t i = 0, length = 1; i < caption.size(); i += length) {
        if (caption[i] == '&') {
            length = caption.compare(i, 2, "&&") == 0 ? 2 : 1; // a literal pair is one character
            afterLetter = false;
            continue;
        }
        const char32_t key = AcceleratorKey(caption, i, length);
        const bool wordStart = !afterLetter;
        afterLetter = key != 0;
        if (key == 0 || used.count(key))
            continue;
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
    std::set<char32_t> used;
    std::vector<bool> hasOne(captions.size(), false);
    // Accelerators already in a caption are kept first, in menu order; a repeated one is dropped.
    for (std::size_t n = 0; n < captions.size(); ++n) {
        std::string& caption = captions[n];
        const std::size_t at = AcceleratorPosition(caption);
        if (at == std::string::npos)
            continue;
        std::size_t length = 0;
        const char32_t key = AcceleratorKey(caption, at, length);
        if (key != 0 && used.insert(key).second)
            hasOne[n] = true;
        else
            caption.erase(at - 1, 1);
    }
    for (std::size_t n = 0; n < captions.size(); ++n) {
        if (hasOne[n])
            continue;
        std::string& caption = captions[n];
        const std::size_t at = FreeAcceleratorPosition(caption, used);
        if (at == std::string::npos)
            continue;
        std::size_t length = 0;
        used.insert(AcceleratorKey(caption, at, length));
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
