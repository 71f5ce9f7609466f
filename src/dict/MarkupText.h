// Definitions as readable text: markup (HTML, Pango, XDXF and the like) without its tags, line
// breaks and paragraph ends kept, character entities decoded.
#pragma once

#include <string>
#include <string_view>

// Links to other headwords are marked in the text with characters of the private use area:
// LinkOpen, then the target headword and LinkTarget when the link names one apart from its text,
// the text shown, LinkClose. Only links to headwords are marked; any other address is plain text.
constexpr std::string_view LinkOpen = "\xEE\x80\x80", LinkTarget = "\xEE\x80\x81", LinkClose = "\xEE\x80\x82";

// StarDict's <a href="bword://..."> and XDXF's <kref> are marked as links.
std::string TextFromMarkup(std::string_view markup);
// dictd's cross-references, "{word}" (a line break may fall inside), marked as links without
// their braces.
std::string MarkBracedLinks(std::string_view text);
// Without the blanks and line ends at either end.
std::string TrimBlanks(std::string_view text);
// Well-formed UTF-8: each byte that does not begin a well-formed sequence becomes U+FFFD.
std::string WellFormedUtf8(std::string_view text);
bool IsUtf8(std::string_view text);
