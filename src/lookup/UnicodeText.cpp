#include "UnicodeText.h"

namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
        return;
    }
    const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    static const unsigned char leads[] = {0, 0xC0, 0xE0, 0xF0};
    text += static_cast<char>(leads[continuation] | (c >> (6 * continuation)));
    for (int shift = 6 * (continuation - 1); shift >= 0; shift -= 6)
        text += static_cast<char>(0x80 | ((c >> shift) & 0x3F));
}

void AppendUtf16(std::wstring& text, char32_t c) {
    if (c < 0x10000) {
        text += static_cast<wchar_t>(c);
        return;
    }
    c -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (c >> 10));
    text += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
}

// The character of the sequence at `at`, and its length in bytes; an ill-formed sequence (a
// stray continuation byte, a sequence cut short, an overlong form, a surrogate, a value beyond
// U+10FFFF) is U+FFFD for its first byte alone.
char32_t DecodeUtf8(const std::string& text, std::size_t at, std::size_t& length) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    length = 1;
    if (lead < 0x80)
        return lead;
    const std::size_t continuation = lead > 0xF4    ? 0
                                     : lead >= 0xF0 ? 3
                                     : lead >= 0xE0 ? 2
                                     : lead >= 0xC0 ? 1
                                                    : 0;
    if (continuation == 0 || at + continuation >= text.size())
        return Replacement;
    char32_t c = lead & (0x3F >> continuation);
    for (std::size_t i = 1; i <= continuation; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return Replacement;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    static const char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < smallest[continuation] || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c))
        return Replacement;
    length = continuation + 1;
    return c;
}

} // namespace

std::string Utf8FromUtf16(const std::wstring& text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = static_cast<char32_t>(text[i]);
        const char32_t next = i + 1 < text.size() ? static_cast<char32_t>(text[i + 1]) : 0;
        if (IsHighSurrogate(unit) && IsLowSurrogate(next)) {
            AppendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
            ++i;
        } else {
            // Only a wider wchar_t than Windows' can hold a unit above 0xFFFF.
            const bool unpaired = IsHighSurrogate(unit) || IsLowSurrogate(unit) || unit > 0xFFFF;
            AppendUtf8(utf8, unpaired ? Replacement : unit);
        }
    }
    return utf8;
}

std::wstring Utf16FromUtf8(const std::string& text) {
    std::wstring utf16;
    utf16.reserve(text.size());
    for (std::size_t at = 0, length = 0; at < text.size(); at += length)
        AppendUtf16(utf16, DecodeUtf8(text, at, length));
    return utf16;
}

std::size_t Utf16CutLength(const wchar_t* text, std::size_t length, std::size_t maxLength) {
    std::size_t kept = 0;
    while (kept < length && kept < maxLength && text[kept] != L'\0')
        ++kept;
    // Cut at maxLength between the halves of a pair: the character goes whole.
    if (kept == maxLength && kept > 0 && kept < length &&
        IsHighSurrogate(static_cast<char32_t>(text[kept - 1])) &&
        IsLowSurrogate(static_cast<char32_t>(text[kept])))
        --kept;
    return kept;
}
