// What the answer window shows: the entries that the dictionaries found for a word, as paragraphs
// of text with the style each is shown in, and where the window goes beside the word. Needs no Win32.
#pragma once

#include <string>
#include <vector>

#include "dict/Dictionary.h"

// The entries that one dictionary has for the word.
struct TDictionaryAnswer {
    std::string Name;
    std::vector<TDictEntry> Entries;
};

enum class TAnswerStyle { Notice, Heading, Headword, Definition, Gap };

// One paragraph of the shown text, without its line end; line breaks inside it are CR LF.
struct TAnswerParagraph {
    TAnswerStyle Style;
    std::string Text;
};

// Texts longer than this are cut (at a character's start) and end in "...": a window of 360
// pixels shows a few hundred lines at most, and the control stays quick.
constexpr std::size_t MaxAnswerBytes = 256 * 1024;

// The notices first (a file that could not be read, or that no dictionary has the word), then for
// each dictionary its name and every entry: its headword, then its definition as the dictionary
// formats it, a gap between entries. Line ends of any kind become CR LF; blank lines at the ends of
// a definition and trailing blanks of its lines go.
std::vector<TAnswerParagraph> AnswerParagraphs(const std::vector<std::string>& notices,
                                               const std::vector<TDictionaryAnswer>& answers);
// The paragraphs joined as the window's control holds them, CR LF between them.
std::string AnswerPlainText(const std::vector<TAnswerParagraph>& paragraphs);

// The notices of the window, in the program's words.
std::string UnreadableNotice(const std::string& file); // "<file> could not be read."
std::string NotFoundNotice(const std::string& text);   // "No dictionary has "<text>"."
// Which other forms of the word the entries are of: "wolves → wolf", "leaves → leaf, leave".
std::string FormsNotice(const std::string& word, const std::vector<std::string>& forms);

// Rectangles in screen pixels, right and bottom exclusive.
struct TScreenBox {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

// Where a window of the given size goes for a word at `anchor` (the caret, or the pointer): below
// it, left edges aligned; above it when there is no room below; always wholly inside the work area
// (and no larger than it).
TScreenBox PlaceAnswerWindow(const TScreenBox& anchor, int width, int height, const TScreenBox& workArea);
