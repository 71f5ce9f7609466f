// Text that a person selected or typed, in any script. Inside the engine it is UTF-8 in a
// std::string, so that ASCII text is the same bytes as ever; at the Win32 boundary it is UTF-16
// in a std::wstring, one code unit per wchar_t as on Windows. The web links are kept the same way.
// Needs no Win32.
#pragma once

#include <cstddef>
#include <string>

// A surrogate without its partner becomes U+FFFD.
std::string Utf8FromUtf16(const std::wstring& text);
// Each byte that does not begin a well-formed sequence becomes U+FFFD.
std::wstring Utf16FromUtf8(const std::string& text);
// How much of `length` code units a cut at the first NUL and at maxLength keeps; the cut never
// separates the two halves of a surrogate pair.
std::size_t Utf16CutLength(const wchar_t* text, std::size_t length, std::size_t maxLength);

// The character that begins at byte `at` and the length of its sequence; each byte that does not
// begin a well-formed sequence is U+FFFD of length 1.
char32_t DecodeUtf8(const std::string& text, std::size_t at, std::size_t& length);

// Letter case as people see it: the simple folding of the Latin, Greek, Cyrillic and Armenian
// alphabets (and the full-width Latin letters); characters of scripts without case stay.
char32_t FoldCase(char32_t c);
std::string FoldCase(const std::string& text);
// A letter or digit that one key of a keyboard layout types: ASCII, the Latin, Greek, Cyrillic,
// Armenian, Hebrew and Arabic letters. Ideographs and kana need an input method, and are not.
bool IsKeyboardLetterOrDigit(char32_t c);
// Blanks, control and format characters, which show nothing (no-break and ideographic spaces,
// zero-width characters, variation selectors, the byte-order mark and the fillers).
bool IsInvisible(char32_t c);
