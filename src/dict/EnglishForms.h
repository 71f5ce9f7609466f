// English word forms by WordNet's morphology: the base forms that a word may be an inflection of
// ("wolves" wolf, "went" go, "better" good and well), from WordNet 3.0's exception lists and the
// detachment rules of its morphy. Only candidates: which of them a dictionary has decides. Needs
// no Win32.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TEnglishForms {
public:
    // A word yields at most this many candidates.
    static constexpr std::size_t MaxCandidates = 24;
    // The longest word that is taken apart; longer text is no English word form.
    static constexpr std::size_t MaxWordLength = 64;

    TEnglishForms() = default;
    // `exceptions`: the text of WordNet's exception lists (adj.exc, adv.exc, noun.exc, verb.exc in
    // any order, joined), a line each "inflected base..." with "_" for a blank. Lines that are not
    // of that form are passed over.
    explicit TEnglishForms(std::string exceptions);

    // The base forms that `word` (UTF-8) may be an inflection of, in lower case, without `word`
    // itself: first those of the exception lists, then those of the rules, each once; for a phrase,
    // the phrase with one of its words replaced by a form of it. None for a word that is not ASCII
    // or ends in no letter.
    std::vector<std::string> Candidates(std::string_view word) const;
    std::size_t ExceptionCount() const { return Exceptions.size(); }

private:
    // The bases that the exception lists give for `word`, and the stems that the rules make of it.
    void AddExceptions(std::string_view word, const std::function<void(std::string)>& add) const;
    static void AddRuleForms(std::string_view word, const std::function<void(std::string)>& add);

    std::string Text;
    std::vector<std::string_view> Exceptions; // the lines, sorted by their inflected form
};
