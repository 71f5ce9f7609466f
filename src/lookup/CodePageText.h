// The lookup text (UTF-8) against the system's ANSI code page, in which the links are stored and
// in which links of earlier versions send the looked-up text.
#pragma once

#include <string>

#include "WebLinks.h"

std::string Utf8FromAnsi(const std::string& text);
// The bytes that a link's URL carries for the text, before they are escaped. For the code page
// they are what Windows makes of Unicode clipboard text for CF_TEXT: a character that the code
// page lacks becomes "?".
std::string LinkTextBytes(const std::string& text, TLinkEncoding encoding);
