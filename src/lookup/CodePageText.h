// The texts of a lookup (UTF-8) against the bytes that a link sends: the system's ANSI code page,
// in which links of earlier versions send everything, or UTF-8, percent-encoded.
#pragma once

#include <string>

#include "WebLinks.h"

std::string Utf8FromAnsi(const std::string& text);
// What Windows makes of Unicode text in the code page: a character that it lacks becomes "?".
std::string AnsiFromUtf8(const std::string& text);
// The bytes that a link's URL carries for the looked-up text, before they are escaped. For the
// code page they are what Windows makes of Unicode clipboard text for CF_TEXT.
std::string LinkTextBytes(const std::string& text, TLinkEncoding encoding);
// A "URL before" or "URL after" as the link sends it: in the code page as earlier versions did,
// or, on a UTF-8 link, ASCII: the host name through IdnToAscii, every other character escaped.
std::string LinkUrlPart(const std::string& part, TLinkEncoding encoding);
// The ASCII form of a host name in any script ("xn--..."), or empty when the system refuses it.
std::string HostToAscii(const std::string& host);
