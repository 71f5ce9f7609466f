// Another form is looked for only when the word itself is in no dictionary: a word found as it
// stands costs nothing more, and a dictionary that has "leaves" shows that entry, not leaf's.
#include "WordSearch.h"

#include <algorithm>
#include <exception>
#include <iterator>

namespace {

// Looks `word` up in `dictionary`; false when the file cannot be read. One dictionary's trouble
// (memory for a huge entry) is not the others'.
bool LookupIn(const TDictionary& dictionary, const std::string& word, std::vector<TDictEntry>& entries) {
    try {
        return dictionary.Lookup(word, entries);
    } catch (const std::exception&) {
        entries.clear();
        return false;
    }
}

} // namespace

TWordSearch SearchWord(const TDictionaryShelf::TItems& dictionaries, const std::string& word,
                       const TEnglishForms& englishForms) {
    TWordSearch search;
    std::vector<const TDictionary*> readable;
    for (const TDictionaryShelf::TItem& item : dictionaries) {
        std::vector<TDictEntry> entries;
        if (!item.Dictionary || !LookupIn(*item.Dictionary, word, entries)) {
            search.Unreadable.push_back(item.Path);
            continue;
        }
        readable.push_back(item.Dictionary.get());
        if (!entries.empty())
            search.Answers.push_back({item.Dictionary->Name(), std::move(entries)});
    }
    if (!search.Answers.empty())
        return search;

    std::vector<std::string> forms = englishForms.Candidates(word);
    for (const TDictionary* dictionary : readable) {
        std::vector<std::string> stems;
        try {
            stems = dictionary->Stems(word);
        } catch (const std::exception&) {
            // A word list that fails on this word gives no stems; the others still count.
        }
        for (std::string& stem : stems)
            if (stem != word && std::find(forms.begin(), forms.end(), stem) == forms.end())
                forms.push_back(std::move(stem));
    }
    std::vector<bool> found(forms.size());
    for (const TDictionary* dictionary : readable) {
        TDictionaryAnswer answer{dictionary->Name(), {}};
        for (std::size_t n = 0; n < forms.size(); ++n) {
            std::vector<TDictEntry> entries;
            if (!LookupIn(*dictionary, forms[n], entries) || entries.empty())
                continue;
            found[n] = true;
            std::move(entries.begin(), entries.end(), std::back_inserter(answer.Entries));
        }
        if (!answer.Entries.empty())
            search.Answers.push_back(std::move(answer));
    }
    for (std::size_t n = 0; n < forms.size(); ++n)
        if (found[n])
            search.Forms.push_back(forms[n]);
    return search;
}
