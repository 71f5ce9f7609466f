// The search of a word and its other forms in the user's dictionaries, with WordNet's real
// exception lists and morphy's rules, against small dictionaries written here.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "dict/DictReaders.h"
#include "lookup/WordSearch.h"
#include "support/DictWriter.h"

using namespace DictWriter;

TEST(WordForms, AreLookedForOnlyWhenNoDictionaryHasTheWordAndEveryFormFoundIsShown) {
    // clang-format off
    TMemoryFiles files(DictdFiles("/d/a", {{"00databaseshort", "", "A\n"}, {"00databaseutf8", "", ""}, {"blog", "", ""},
        {"give up", "", ""}, {"go", "", ""}, {"good", "", ""}, {"leaf", "", ""}, {"leave", "", ""}, {"mouse", "", ""},
        {"study", "", ""}, {"well", "", ""}, {"wolf", "", ""}}));
    // clang-format on
    files.Files.merge(StarDictFiles("/d/b", {{"boxes", "m"}, {"wolf", "m"}}));
    std::string error;
    const TDictionaryShelf::TItems items = {{"a", OpenDictionary(files, "/d/a.index", error), ""},
                                            {"b", OpenDictionary(files, "/d/b.ifo", error), ""}};
    std::ostringstream lists; // as the build joins them into WL.exe's resource
    for (const char* list : {"adj", "adv", "noun", "verb"})
        lists << std::ifstream(std::string(WL_WORDNET_DIR) + "/" + list + ".exc").rdbuf();
    const TEnglishForms forms(lists.str());
    // The word's own entries are all that is shown when any dictionary has it.
    // clang-format off
    const std::vector<std::pair<std::string, std::string>> cases = {{"boxes", "boxes: boxes"},
        {"Wolves", "Wolves \u2192 wolf: wolf wolf"}, {"studies", "studies \u2192 study: study"},
        {"blogging", "blogging \u2192 blog: blog"}, {"went", "went \u2192 go: go"}, {"MICE", "MICE \u2192 mouse: mouse"},
        {"better", "better \u2192 good, well: good well"}, {"leaves", "leaves \u2192 leaf, leave: leaf leave"},
        {"gave up", "gave up \u2192 give up: give up"}, {"foxes", "foxes:"}, {"häuser", "häuser:"}};
    // clang-format on
    for (const auto& [word, expected] : cases) {
        const TWordSearch search = SearchWord(items, word, forms);
        std::string shown = (search.Forms.empty() ? word : FormsNotice(word, search.Forms)) + ":";
        for (const TDictionaryAnswer& answer : search.Answers)
            for (const TDictEntry& entry : answer.Entries)
                shown += " " + entry.Headword;
        EXPECT_EQ(shown, expected);
    }
}
