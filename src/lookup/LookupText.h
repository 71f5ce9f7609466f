// The text of a lookup: the selection cleaned into the lookup text, and the captions of the link
// menu that shows it. Needs no Win32.
//
// Texts are UTF-8. Blanks and "&" are ASCII, and no byte of another character is ever taken for one
// of them; an accelerator is a letter or digit that one key types, in any alphabet.
#pragma once

#include <string>
#include <vector>

// Without leading and trailing tabs, line feeds, carriage returns and spaces.
std::string TrimBlanks(const std::string& text);
// The first line (up to the first CR LF pair) without its blanks. A lone CR or LF does not end a line.
void CleanLookupText(std::string& text);
// The word that the dictionaries are asked for: the cleaned lookup text without the punctuation,
// quotation marks and invisible characters at either end, in any script ("\"ephemeral.\"" gives
// "ephemeral"). Empty when nothing else is left.
std::string DictionaryWord(const std::string& lookupText);

// The link menu's heading for a lookup text, as it is before accelerators are assigned.
std::string LinkMenuHeading(const std::string& lookupText);
// A link's description as a menu caption that shows every "&" literally.
std::string LinkMenuCaption(const std::string& description);
// Gives each caption that has none an accelerator ("&" before a digit or letter of its own), so that
// no two captions share one; an accelerator that a caption already has is kept unless an earlier
// caption holds the same character. Letters compare without case, in every alphabet that has it.
void AssignMenuAccelerators(std::vector<std::string>& captions);
std::string WithoutAmpersands(const std::string& caption);
