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

} // namespace

// An ill-formed sequence (a stray continuation byte, a sequence cut short, an overlong form, a
// surrogate, a value beyond U+10FFFF) is U+FFFD for its first byte alone.
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

namespace {

bool InRange(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// In these blocks capitals and small letters alternate, the capital first (parity 0) or second.
struct TAlternatingBlock {
    char32_t First, Last;
    char32_t CapitalParity;
};
constexpr TAlternatingBlock AlternatingBlocks[] = {
    {0x0100, 0x012F, 0}, {0x0132, 0x0137, 0}, {0x0139, 0x0148, 1}, {0x014A, 0x0177, 0}, {0x0179, 0x017E, 1},
    {0x0460, 0x0481, 0}, {0x048A, 0x04BF, 0}, {0x04C1, 0x04CE, 1}, {0x04D0, 0x052F, 0},
};

} // namespace

char32_t FoldCase(char32_t c) {
    if (InRange(c, 'A', 'Z') || (InRange(c, 0xC0, 0xDE) && c != 0xD7) || InRange(c, 0x0391, 0x03AB) ||
        InRange(c, 0x0410, 0x042F) || InRange(c, 0xFF21, 0xFF3A))
        return c + 0x20;
    if (InRange(c, 0x0400, 0x040F))
        return c + 0x50;
    if (InRange(c, 0x0531, 0x0556))
        return c + 0x30;
    for (const TAlternatingBlock& block : AlternatingBlocks)
        if (InRange(c, block.First, block.Last))
            return (c - block.First) % 2 == block.CapitalParity ? c + 1 : c;
    switch (c) {
    case 0x0178: // Y with diaeresis, whose small letter is in Latin-1
        return 0xFF;
    case 0x0386: // the Greek capitals with tonos
        return 0x03AC;
    case 0x0388:
    case 0x0389:
    case 0x038A:
        return c + 0x25;
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return c + 0x3F;
    case 0x03C2: // final sigma is the same letter as sigma
        return 0x03C3;
    case 0x04C0:
        return 0x04CF;
    }
    return c;
}

std::string FoldCase(const std::string& text) {
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t at = 0, length = 0; at < text.size(); at += length)
        AppendUtf8(folded, FoldCase(DecodeUtf8(text, at, length)));
    return folded;
}

bool IsKeyboardLetterOrDigit(char32_t c) {
    return InRange(c, '0', '9') || InRange(c, 'A', 'Z') || InRange(c, 'a', 'z') ||
           (InRange(c, 0xC0, 0x024F) && c != 0xD7 && c != 0xF7) || c == 0x0386 ||
           InRange(c, 0x0388, 0x03FF) || InRange(c, 0x0400, 0x0481) || InRange(c, 0x048A, 0x052F) ||
           InRange(c, 0x0531, 0x0556) || InRange(c, 0x0561, 0x0587) || InRange(c, 0x05D0, 0x05EA) ||
           InRange(c, 0x0620, 0x064A);
}

bool IsInvisible(char32_t c) {
    return c <= 0x20 || InRange(c, 0x7F, 0xA0) || c == 0xAD || c == 0x034F || c == 0x061C || c == 0x115F ||
           c == 0x1160 || c == 0x1680 || c == 0x180E || InRange(c, 0x2000, 0x200F) ||
           InRange(c, 0x2028, 0x202F) || InRange(c, 0x205F, 0x206F) || c == 0x3000 || c == 0x3164 ||
           InRange(c, 0xFE00, 0xFE0F) || c == 0xFEFF || c == 0xFFA0;
}
