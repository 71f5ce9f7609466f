// The web links as the user edits them on the Web Links page: a list that is never empty, with
// exactly one entry selected. Needs no Win32; the page only mirrors it in its controls.
#pragma once

#include <string>
#include <vector>

#include "WebLinks.h"

class TWorkingLinks {
public:
    TWorkingLinks() { Assign({}); }

    // Replaces the list (an empty one becomes one empty custom link) and selects the first entry.
    void Assign(std::vector<TWebLink> links);
    // The predefined links, in their table order, the first selected.
    void Reset();

    const std::vector<TWebLink>& Links() const { return Entries; }
    int Count() const { return static_cast<int>(Entries.size()); }
    int Selected() const { return SelectedIndex; }
    const TWebLink& SelectedLink() const { return Entries[static_cast<size_t>(SelectedIndex)]; }
    // An index outside the list selects the nearest entry.
    void Select(int index);

    // The user's texts for the selected custom link; a predefined link keeps its own.
    void EditSelected(const std::string& description, const std::string& urlBefore,
                      const std::string& urlAfter);
    // The encoding of the selected custom link; a predefined link keeps its own.
    void SetSelectedEncoding(TLinkEncoding encoding);
    // Appends an empty custom link, which sends the word as UTF-8, and selects it.
    void Add();
    // Removes the selected custom link and selects the entry that took its place, or the new last
    // one; the last entry removed leaves one empty link. False for a predefined link.
    bool DeleteSelected();
    bool CanMoveUp() const { return SelectedIndex > 0; }
    bool CanMoveDown() const { return SelectedIndex < Count() - 1; }
    // Swaps the selected entry with its neighbour (delta -1 or +1) and follows it; false at an end.
    bool MoveSelected(int delta);

private:
    std::vector<TWebLink> Entries;
    int SelectedIndex = 0;
};

enum class TLinkError { None, NoDescription, DuplicateDescription };

struct TLinkProblem {
    TLinkError Error = TLinkError::None;
    int Index = -1; // the entry to select and name in the message
    explicit operator bool() const { return Error != TLinkError::None; }
};

// Nothing but characters that show nothing: blanks in any script, control and format characters.
bool IsBlankDescription(const std::string& description);
// The first entry without a description, or the first whose description a later entry repeats
// (compared exactly: letter case and blanks count). Texts are UTF-8.
TLinkProblem FindLinkProblem(const std::vector<TWebLink>& links);

// The entry that the default-link drop-down selects for a preferred description: the last one of
// that description, else the first; -1 only for an empty list.
int ChooseDefaultLink(const std::vector<TWebLink>& links, const std::string& preferred);
