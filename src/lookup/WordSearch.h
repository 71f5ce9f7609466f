// The search of a word in the user's dictionaries: the word as it stands first, and only when no
// dictionary has it, its other forms (English ones and the stems that word lists give). Needs no
// Win32.
#pragma once

#include <string>
#include <vector>

#include "AnswerText.h"
#include "DictionaryShelf.h"
#include "dict/EnglishForms.h"

struct TWordSearch {
    // Per dictionary, in the listed order, the entries of the word or of its forms.
    std::vector<TDictionaryAnswer> Answers;
    // The other forms whose entries are shown, in the order found; empty when the word itself was.
    std::vector<std::string> Forms;
    // The listed files that could not be read.
    std::vector<std::string> Unreadable;
};

TWordSearch SearchWord(const TDictionaryShelf::TItems& dictionaries, const std::string& word,
                       const TEnglishForms& englishForms);
