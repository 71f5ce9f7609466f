// What the answer window shows: the entries that the dictionaries found for a word, as paragraphs
// of text with the style each is shown in, and where the window goes beside the word. Needs no Win32.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dict/Dictionary.h"

// The entries that one dictionary has for the word.
struct TDictionaryAnswer {
    std::string Name;
    std::vector<TDictEntry> Entries;
};

enum class TAnswerStyle { Notice, Heading, Headword, Definition, Gap };

// A link in a paragraph: the bytes of its shown text, and the headword it leads to.
struct TAnswerLink {
    std::size_t Start = 0, End = 0;
    std::string Target;
};

// One paragraph of the shown text, without its line end; line breaks inside it are CR LF.
struct TAnswerParagraph {
    TAnswerStyle Style;
    std::string Text;
    std::vector<TAnswerLink> Links;
};

// Texts longer than this are cut (at a character's start) and end in "...": a window of 360
// pixels shows a few hundred lines at most, and the control stays quick.
constexpr std::size_t MaxAnswerBytes = 256 * 1024;

// The notices first (a file that could not be read, or that no dictionary has the word), then for
// each dictionary its name and every entry: its headword, then its definition as the dictionary
// formats it, a gap between entries. Line ends of any kind become CR LF; blank lines at the ends of
// a definition and trailing blanks of its lines go.
// The links that the readers marked in a definition become the paragraph's links, their marks
// gone. `closeWords` go under the notices, a link each on a line of its own.
std::vector<TAnswerParagraph> AnswerParagraphs(const std::vector<std::string>& notices,
                                               const std::vector<TDictionaryAnswer>& answers,
                                               const std::vector<std::string>& closeWords = {});
// Takes the link marks out of `text` and gives the links that they made. A link whose text is
// blank, or whose target is longer than a headword can be, is plain text.
std::vector<TAnswerLink> TakeLinks(std::string& text);
// Every link of the paragraphs where the window's text control has it: in UTF-16 units of the
// joined text, each CR LF one character.
std::vector<TAnswerLink> ControlLinks(const std::vector<TAnswerParagraph>& paragraphs);
// The paragraphs as one RTF document for the rich edit: the face at `halfPoints`, headings bold
// and a quarter larger, headwords bold, notices italic, links underlined in the links' blue, every
// character outside ASCII as \uN. Each line end is one \par, as the control counts it.
std::string AnswerRtf(const std::vector<TAnswerParagraph>& paragraphs, const std::string& face,
                      int halfPoints);
// The close words of the dictionaries merged: those of the edits first, then the longer ones,
// each once whatever its letter case, at most `limit`.
std::vector<std::string> MergeCloseWords(const std::vector<std::string>& edits,
                                         const std::vector<std::string>& longer, std::size_t limit);
// The paragraphs joined as the window's control holds them, CR LF between them.
std::string AnswerPlainText(const std::vector<TAnswerParagraph>& paragraphs);

// The notices of the window, in the program's words.
std::string UnreadableNotice(const std::string& file); // "<file> could not be read."
std::string NotFoundNotice(const std::string& text);   // "No dictionary has "<text>"."
// Which other forms of the word the entries are of: "wolves → wolf", "leaves → leaf, leave".
std::string FormsNotice(const std::string& word, const std::vector<std::string>& forms);

// The words shown in one window, for going back and forward: a word looked up from another program
// starts anew, a word looked up in the window drops those ahead of it. The oldest go beyond Limit.
class TAnswerHistory {
public:
    static constexpr std::size_t Limit = 50;
    void Start(const std::string& word);
    void Add(const std::string& word);
    // The word before or after the current one, which becomes current; empty at either end.
    std::string Back();
    std::string Forward();
    const std::vector<std::string>& Words() const { return Items; }
    std::size_t Current() const { return At; }

private:
    std::vector<std::string> Items;
    std::size_t At = 0;
};

// The text's zoom, in percent.
constexpr int MinZoom = 50, MaxZoom = 300, NormalZoom = 100;
// The next step up (`direction` > 0) or down from `zoom`, clamped to the range; 0 gives 100 %.
int ZoomStep(int zoom, int direction);
// The window's stored size at 96 DPI, or 0 when the stored value is out of range.
int StoredWindowSide(std::uint32_t pixels);

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
