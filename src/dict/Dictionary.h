// A dictionary of the user's own: a StarDict (.ifo) or dictd (.index) file and the files beside it.
// Opening reads and checks the index, never the definitions; a lookup reads only the entries it
// returns. The files are open only while being read, so the user may move, replace or delete them
// while the program runs. Text is UTF-8 throughout. Needs no Win32.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// One entry found: its headword as the dictionary spells it, and its definition as readable text
// (markup removed, line breaks and paragraph ends kept, entities decoded, binary fields left out).
struct TDictEntry {
    std::string Headword;
    std::string Text;
};

class TDictionary {
public:
    virtual ~TDictionary() = default;

    // Opens the dictionary whose .ifo, .index or Hunspell .dic file `path` names (UTF-8). Returns null and says in
    // `error` what is wrong (a sentence for the user) when it is not a dictionary or is damaged.
    static std::unique_ptr<TDictionary> Open(const std::string& path, std::string& error);

    // The dictionary's own name (StarDict "bookname", dictd "00-database-short"), its number of
    // headwords and the path it was opened from.
    virtual const std::string& Name() const = 0;
    virtual std::size_t HeadwordCount() const = 0;
    virtual const std::string& Path() const = 0;
    // The index entries passed over because their headword is empty, as dictd and StarDict's own
    // programs pass them over; they are not among the headwords.
    virtual std::size_t SkippedCount() const { return 0; }

    // The entries of `word`: those whose headword (without blanks at its ends) is `word` exactly, or when
    // there are none, those whose headword differs only in letter case (in any script); synonyms count as
    // headwords. Returns false when the files can no longer be read or turn out damaged (moved, deleted,
    // replaced); `entries` is then empty.
    virtual bool Lookup(const std::string& word, std::vector<TDictEntry>& entries) const = 0;

    // Headwords close to `word`, which the dictionary does not have: in `edits` those one letter
    // added, dropped, changed or two swapped away, in `longer` those that begin with it; at most
    // `limit` of each, found by searches in the index rather than a pass over it.
    virtual void CloseHeadwords(const std::string& /*word*/, std::size_t /*limit*/,
                                std::vector<std::string>& /*edits*/,
                                std::vector<std::string>& /*longer*/) const {}

    // The stems that a word list of forms (Hunspell .dic and .aff) gives for `word`, without `word`
    // itself; a dictionary of entries gives none.
    virtual std::vector<std::string> Stems(const std::string& /*word*/) const { return {}; }
};
