#include "LookupText.h"

#include <set>

#include "UnicodeText.h"

namespace {

bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

struct TRange {
    char32_t First, Last;
};

// The punctuation characters of Unicode (the general categories Pc, Pd, Ps, Pe, Pi, Pf and Po) in
// the scripts people select words in, and the backtick that plain text uses as an opening quote.
constexpr TRange PunctuationRanges[] = {
    {0x21, 0x23},     {0x25, 0x2A},     {0x2C, 0x2F},     {0x3A, 0x3B},     {0x3F, 0x40},
    {0x5B, 0x5D},     {0x5F, 0x60},     {0x7B, 0x7B},     {0x7D, 0x7D},     {0xA1, 0xA1},
    {0xA7, 0xA7},     {0xAB, 0xAB},     {0xB6, 0xB7},     {0xBB, 0xBB},     {0xBF, 0xBF},
    {0x37E, 0x37E},   {0x387, 0x387},   {0x55A, 0x55F},   {0x589, 0x58A},   {0x5BE, 0x5BE},
    {0x5C0, 0x5C0},   {0x5C3, 0x5C3},   {0x5C6, 0x5C6},   {0x5F3, 0x5F4},   {0x609, 0x60A},
    {0x60C, 0x60D},   {0x61B, 0x61B},   {0x61D, 0x61F},   {0x66A, 0x66D},   {0x6D4, 0x6D4},
    {0x964, 0x965},   {0x970, 0x970},   {0xE4F, 0xE4F},   {0xE5A, 0xE5B},   {0x10FB, 0x10FB},
    {0x1361, 0x1368}, {0x2010, 0x2027}, {0x2030, 0x2043}, {0x2045, 0x2051}, {0x2053, 0x205E},
    {0x2E00, 0x2E4F}, {0x3001, 0x3003}, {0x3008, 0x3011}, {0x3014, 0x301F}, {0x3030, 0x3030},
    {0x303D, 0x303D}, {0x30A0, 0x30A0}, {0x30FB, 0x30FB}, {0xFE10, 0xFE19}, {0xFE30, 0xFE52},
    {0xFE54, 0xFE61}, {0xFE63, 0xFE63}, {0xFE68, 0xFE68}, {0xFE6A, 0xFE6B}, {0xFF01, 0xFF03},
    {0xFF05, 0xFF0A}, {0xFF0C, 0xFF0F}, {0xFF1A, 0xFF1B}, {0xFF1F, 0xFF20}, {0xFF3B, 0xFF3D},
    {0xFF3F, 0xFF3F}, {0xFF5B, 0xFF5B}, {0xFF5D, 0xFF5D}, {0xFF5F, 0xFF65},
};

bool IsPunctuation(char32_t c) {
    for (const TRange& range : PunctuationRanges)
        if (c >= range.First && c <= range.Last)
            return true;
    return false;
}

// Punctuation and what shows nothing: what a selection carries at its ends beside the word.
bool IsWordEdge(char32_t c) {
    return IsPunctuation(c) || IsInvisible(c);
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

std::string DictionaryWord(const std::string& lookupText) {
    // From the front character by character; from the back, the start of each character is found
    // by stepping over continuation bytes, which no other byte of UTF-8 can be taken for.
    std::size_t first = 0, length = 0;
    while (first < lookupText.size() && IsWordEdge(DecodeUtf8(lookupText, first, length)))
        first += length;
    std::size_t end = lookupText.size();
    while (end > first) {
        std::size_t start = end - 1;
        while (start > first && (static_cast<unsigned char>(lookupText[start]) & 0xC0) == 0x80)
            --start;
        // A malformed tail decodes as U+FFFD of one byte, which is no edge: the word keeps it.
        if (!IsWordEdge(DecodeUtf8(lookupText, start, length)) || start + length != end)
            break;
        end = start;
    }
    return lookupText.substr(first, end - first);
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
