// Definitions as readable text: markup (HTML, Pango, XDXF and the like) without its tags, line
// breaks and paragraph ends kept, character entities decoded.
#pragma once

#include <string>
#include <string_view>

std::string TextFromMarkup(std::string_view markup);
// Without the blanks and line ends at either end.
std::string TrimBlanks(std::string_view text);
// Well-formed UTF-8: each byte that does not begin a well-formed sequence becomes U+FFFD.
std::string WellFormedUtf8(std::string_view text);
bool IsUtf8(std::string_view text);
