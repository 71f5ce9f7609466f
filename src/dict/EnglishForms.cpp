// The candidates of a word, as WordNet's morphy finds them, except that morphy asks WordNet's own
// index which candidates exist and here the user's dictionaries are asked. Every part of speech
// is tried, since a selected word comes without one.
#include "dict/EnglishForms.h"

#include <algorithm>
#include <functional>

namespace {

// morphy's detachment rules: a suffix and what replaces it.
struct TRule {
    std::string_view Suffix, Ending;
};

// clang-format off
constexpr TRule NounRules[] = {{"s", ""}, {"ses", "s"}, {"xes", "x"}, {"zes", "z"}, {"ches", "ch"},
                               {"shes", "sh"}, {"men", "man"}, {"ies", "y"}};
constexpr TRule VerbRules[] = {{"s", ""}, {"ies", "y"}, {"es", "e"}, {"es", ""}, {"ed", "e"}, {"ed", ""},
                               {"ing", "e"}, {"ing", ""}};
constexpr TRule AdjectiveRules[] = {{"er", ""}, {"est", ""}, {"er", "e"}, {"est", "e"}};
// clang-format on

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsLetter(char c) {
    return c >= 'a' && c <= 'z';
}

bool IsConsonant(char c) {
    return IsLetter(c) && std::string_view("aeiouy").find(c) == std::string_view::npos;
}

std::string_view InflectedForm(std::string_view line) {
    return line.substr(0, line.find(' '));
}

} // namespace

TEnglishForms::TEnglishForms(std::string exceptions) : Text(std::move(exceptions)) {
    const std::string_view text(Text);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::size_t blank = line.find(' ');
        if (blank != 0 && blank != std::string_view::npos && blank + 1 < line.size())
            Exceptions.push_back(line);
    }
    std::stable_sort(Exceptions.begin(), Exceptions.end(), [](std::string_view a, std::string_view b) {
        return InflectedForm(a) < InflectedForm(b);
    });
}

std::vector<std::string> TEnglishForms::Candidates(std::string_view word) const {
    std::vector<std::string> candidates;
    if (word.empty() || word.size() > MaxWordLength)
        return candidates;
    std::string lower(word);
    for (char& c : lower) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return candidates;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    if (!IsLetter(lower.back()))
        return candidates;
    const auto add = [&](std::string candidate) {
        if (!candidate.empty() && candidate != lower && candidates.size() < MaxCandidates &&
            std::find(candidates.begin(), candidates.end(), candidate) == candidates.end())
            candidates.push_back(std::move(candidate));
    };
    AddExceptions(lower, add);
    if (lower.find(' ') == std::string::npos) {
        AddRuleForms(lower, add);
        return candidates;
    }
    // A phrase ("gave up", "bones of contention"): each of its words in turn replaced by the
    // forms of that word, as morphy takes a collocation apart.
    for (std::size_t start = 0; start < lower.size();) {
        const std::size_t end = std::min(lower.find(' ', start), lower.size());
        const std::string_view part = std::string_view(lower).substr(start, end - start);
        std::vector<std::string> forms;
        const auto collect = [&](std::string form) {
            if (!form.empty() && form != part)
                forms.push_back(std::move(form));
        };
        if (!part.empty() && IsLetter(part.back())) {
            AddExceptions(part, collect);
            AddRuleForms(part, collect);
        }
        for (const std::string& form : forms)
            add(lower.substr(0, start) + form + lower.substr(end));
        start = end + 1;
    }
    return candidates;
}

void TEnglishForms::AddExceptions(std::string_view word, const std::function<void(std::string)>& add) const {
    // The exception lists write a blank as "_".
    std::string key(word);
    std::replace(key.begin(), key.end(), ' ', '_');
    const auto first =
        std::lower_bound(Exceptions.begin(), Exceptions.end(), key,
                         [](std::string_view line, const std::string& k) { return InflectedForm(line) < k; });
    for (auto line = first; line != Exceptions.end() && InflectedForm(*line) == key; ++line) {
        std::string_view bases = line->substr(key.size());
        while (!bases.empty()) {
            bases.remove_prefix(std::min(bases.find_first_not_of(' '), bases.size()));
            std::string base(bases.substr(0, bases.find(' ')));
            bases.remove_prefix(base.size());
            std::replace(base.begin(), base.end(), '_', ' ');
            add(std::move(base));
        }
    }
}

void TEnglishForms::AddRuleForms(std::string_view word, const std::function<void(std::string)>& add) {
    const auto apply = [&](const TRule& rule) {
        if (!EndsWith(word, rule.Suffix) || word.size() == rule.Suffix.size())
            return;
        std::string stem(word.substr(0, word.size() - rule.Suffix.size()));
        // English doubles a final consonant before -ed, -ing, -er and -est ("running", "bigger"):
        // the stem with it single is a candidate too.
        const std::size_t length = stem.size();
        const bool doubled = rule.Ending.empty() && rule.Suffix.size() > 1 && rule.Suffix != "es" &&
                             length >= 3 && stem[length - 1] == stem[length - 2] &&
                             IsConsonant(stem[length - 1]);
        add(stem + std::string(rule.Ending));
        if (doubled)
            add(stem.substr(0, length - 1));
    };
    // morphy leaves nouns in "ss" ("glass") and of two letters alone.
    if (!EndsWith(word, "ss") && word.size() > 2)
        for (const TRule& rule : NounRules)
            apply(rule);
    for (const TRule& rule : VerbRules)
        apply(rule);
    for (const TRule& rule : AdjectiveRules)
        apply(rule);
}
