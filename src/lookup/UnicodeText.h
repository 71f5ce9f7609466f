// Text that a person selected or typed, in any script. Inside the engine it is UTF-8 in a
// std::string, so that ASCII text is the same bytes as ever; at the Win32 boundary it is UTF-16
// in a std::wstring, one code unit per wchar_t as on Windows. Needs no Win32.
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
