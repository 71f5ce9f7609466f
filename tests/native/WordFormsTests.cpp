// The search of a word and its other forms in the user's dictionaries, with WordNet's real
// exception lists and the morphy rules, against small dictionaries written here.
#include <gtest/gtest.h>

#include "dict/DictReaders.h"
#include "lookup/WordSearch.h"
#include "support/DictWriter.h"
#include "support/WordNetLists.h"

using namespace DictWriter;

namespace {

// A word list that gives stems (as Hunspell's does) and has no entries.
class TStems : public TDictionary {
public:
    const std::string& Name() const override { return Path(); }
    std::size_t HeadwordCount() const override { return 0; }
    const std::string& Path() const override { return File; }
    bool Lookup(const std::string&, std::vector<TDictEntry>& entries) const override {
        entries.clear();
        return true;
    }
    std::vector<std::string> Stems(const std::string& word) const override {
        return word == "häuser" ? std::vector<std::string>{"haus", "häuser"} : std::vector<std::string>{};
    }
    std::string File = "de_DE.dic";
};

// "word → forms" (or "as it stands"), then each dictionary's name and headwords.
std::string Shown(const TWordSearch& search, const std::string& word) {
    std::string shown = search.Forms.empty() ? "as it stands" : FormsNotice(word, search.Forms);
    for (const TDictionaryAnswer& answer : search.Answers) {
        shown += " | " + answer.Name + ":";
        for (const TDictEntry& entry : answer.Entries)
            shown += " " + entry.Headword;
    }
    return shown;
}

} // namespace

TEST(WordForms, AreLookedForOnlyWhenNoDictionaryHasTheWordAndAllThatAreFoundAreShown) {
    TMemoryFiles files;
    // clang-format off
    files.Files = DictdFiles("/d/a", {{"00databaseshort", "", "A\n"}, {"00databaseutf8", "", ""},
        {"blog", "", "b"}, {"box", "", "b"}, {"go", "", "g"}, {"good", "", "g"}, {"haus", "", "h"},
        {"leaf", "", "l"}, {"leave", "", "l"}, {"mouse", "", "m"}, {"run", "", "r"}, {"study", "", "s"},
        {"well", "", "w"}, {"wolf", "", "w"}});
    const auto more = StarDictFiles("/d/b", {{"boxes", "mboxes"}, {"wolf", "mwolf"}});
    // clang-format on
    files.Files.insert(more.begin(), more.end());
    TDictionaryShelf::TItems items;
    for (const std::string path : {"/d/a.index", "/d/gone.index", "/d/b.ifo"}) {
        std::string error;
        items.push_back({path, OpenDictionary(files, path, error), error});
    }
    items.push_back({"de_DE.dic", std::make_shared<TStems>(), ""});
    const TEnglishForms forms(WordNetExceptionLists());
    ASSERT_GT(forms.ExceptionCount(), 5000u);

    // clang-format off
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"boxes", "as it stands | Test Book: boxes"},                 // one dictionary has it as it stands
        {"foxes", "as it stands"},                                    // no dictionary has any form
        {"wolves", "wolves \u2192 wolf | A: wolf | Test Book: wolf"}, // irregular, in every dictionary
        {"Wolves", "Wolves \u2192 wolf | A: wolf | Test Book: wolf"},
        {"studies", "studies \u2192 study | A: study"},               // -ies
        {"blogging", "blogging \u2192 blog | A: blog"},               // a doubled consonant
        {"blogged", "blogged \u2192 blog | A: blog"},
        {"running", "running \u2192 run | A: run"},
        {"went", "went \u2192 go | A: go"},
        {"MICE", "MICE \u2192 mouse | A: mouse"},
        {"better", "better \u2192 good, well | A: good well"},
        {"leaves", "leaves \u2192 leaf, leave | A: leaf leave"},
        {"häuser", "häuser \u2192 haus | A: haus"},                   // a word list's stem
    };
    // clang-format on
    for (const auto& [word, expected] : cases) {
        const TWordSearch search = SearchWord(items, word, forms);
        EXPECT_EQ(Shown(search, word), expected) << word;
        EXPECT_EQ(search.Unreadable, std::vector<std::string>{"/d/gone.index"}) << word;
    }
}
