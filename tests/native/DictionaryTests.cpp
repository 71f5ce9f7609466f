// The dictionary readers on small dictionaries written here: every StarDict and dictd variant,
// dictzip chunks, damaged files refused with their reason, files that change after opening, and
// Hunspell word lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>

#include "dict/DictReaders.h"
#include "support/DictWriter.h"

using namespace DictWriter;

namespace {

std::unique_ptr<TDictionary> Open(const TDictFiles& files, const std::string& path) {
    std::string error;
    auto dictionary = OpenDictionary(files, path, error);
    EXPECT_TRUE(dictionary) << path << ": " << error;
    return dictionary;
}

// Text as a "m" field, as the .dict holds it without (or with) sametypesequence=m.
std::string Plain(const std::string& text, const TStarDictOptions& options = {}) {
    return options.SameTypes.empty() ? "m" + text + '\0' : text;
}

} // namespace

TEST(StarDict, EveryFileVariantFindsTheWordThenItsOtherCaseThenSynonymsInFileOrder) {
    const std::vector<std::function<void(TStarDictOptions&)>> variants = {
        [](auto&) {},
        [](auto& o) { o.Version = "3.0.0", o.LineEnd = "\r\n", o.ByteOrderMark = true; },
        [](auto& o) { o.LineEnd = "\r"; },
        [](auto& o) { o.GzipIndex = true; },
        [](auto& o) { o.ChunkLength = 16; },
        [](auto& o) { o.Version = "3.0.0", o.OffsetBits64 = true; },
        [](auto& o) { o.SameTypes = "m"; },
    };
    for (std::size_t variant = 0; variant < variants.size(); ++variant) {
        SCOPED_TRACE(variant);
        TStarDictOptions options;
        variants[variant](options);
        TMemoryFiles files;
        // clang-format off
        files.Files = StarDictFiles("/d/t", {{"Apple", Plain("a company", options)},
            {"apple", Plain("a fruit", options)}, {"bank", Plain("river side", options)},
            {"bank", Plain("money house", options)}, {"λέξη", Plain("word", options)}},
            {{"Pomme", "apple"}, {"pomme", "apple"}, {"λόγος", "λέξη"}}, options);
        // clang-format on
        const auto dictionary = Open(files, "/d/t.ifo");
        ASSERT_TRUE(dictionary);
        EXPECT_EQ(dictionary->Name() + "/" + std::to_string(dictionary->HeadwordCount()), "Test Book/5");
        EXPECT_EQ(Look(*dictionary, "apple") + Look(*dictionary, "Apple"), "apple: a fruitApple: a company");
        EXPECT_EQ(Look(*dictionary, "APPLE"), "Apple: a company | apple: a fruit");
        EXPECT_EQ(Look(*dictionary, "bank"), "bank: river side | bank: money house");
        EXPECT_EQ(Look(*dictionary, "POMME"), "apple: a fruit"); // two synonyms, their entry once
        EXPECT_EQ(Look(*dictionary, "λόγος") + Look(*dictionary, "ΛΈΞΗ"), "λέξη: wordλέξη: word");
        EXPECT_EQ(Look(*dictionary, "pear") + Look(*dictionary, std::string(256, 'a')), "");
    }
}

TEST(StarDict, FieldsBecomeReadableTextWithAndWithoutSameTypeSequence) {
    const std::string nul(1, '\0');
    // Plain types as they are; markup without tags, breaks kept, entities decoded; binary fields
    // (a big-endian length first) and resource lists left out.
    EXPECT_EQ(StarDictText("mplain <b>text</b>" + nul + "tfəˈnɛtɪk" + nul, ""),
              "plain <b>text</b>\nfəˈnɛtɪk");
    EXPECT_EQ(StarDictText("h<p>One&nbsp;&amp;<br>two</p><p>&lt;3&#x3E; &#233;&eacute;&bogus;</p>" + nul, ""),
              "One\xC2\xA0&\ntwo\n\n<3> éé&bogus;");
    EXPECT_EQ(StarDictText("g<b>bold</b>\n<span foreground=\"red\">red</span>" + nul +
                               "x<k>key</k><def>meaning<ex>example</ex></def>" + nul,
                           ""),
              "bold\nred\nkey\nmeaning\nexample");
    EXPECT_EQ(StarDictText("rimg:a.png" + nul + "W" + BigEndian(3, 4) + "\1\2" + nul + "mafter" + nul, ""),
              "after");
    // With sametypesequence the last field has neither end nor length and runs to the entry's end.
    EXPECT_EQ(StarDictText("first" + nul + "last <i>one</i>", "mh"), "first\nlast one");
    EXPECT_EQ(StarDictText(BigEndian(2, 4) + "\xFF\xFE" + "text", "Pm"), "text");
    // Text that is not UTF-8 shows replacement characters; a length past the end stops.
    EXPECT_EQ(StarDictText("m\xFFok" + nul + "W" + BigEndian(1000, 4) + "xyz", ""), "\xEF\xBF\xBDok");
}

TEST(Dictd, BothOrdersThreeAndFourColumnsAndTheNameFromItsEntry) {
    for (const std::uint32_t chunkLength : {0u, 20u}) {
        SCOPED_TRACE(chunkLength);
        // The default order (as GCIDE's): ignoring case and all but letters, digits and spaces.
        TMemoryFiles files;
        // clang-format off
        files.Files = DictdFiles("/d/m", {{"00-database-short", "", "00-database-short\n     Mixed Case\n"},
            {"Abacus", "", "Abacus\n  a frame\n"}, {"dont", "don't", "don't\n  do not\n"},
            {"Ephemeral", "", "Ephemeral, a.\n"}, {"ephemeral", "", "ephemeral, n.\n"},
            {"new york", "New York", "New York\n  a city\n"}, {"Éclair", "", "Éclair\n  a cake\n"}},
            chunkLength);
        // clang-format on
        const auto mixed = Open(files, "/d/m.index");
        ASSERT_TRUE(mixed);
        EXPECT_EQ(mixed->Name() + "/" + std::to_string(mixed->HeadwordCount()), "Mixed Case/6");
        EXPECT_EQ(Look(*mixed, "abacus") + Look(*mixed, "ephemeral"),
                  "Abacus: Abacus\n  a frameephemeral: ephemeral, n.");
        EXPECT_EQ(Look(*mixed, "EPHEMERAL"), "Ephemeral: Ephemeral, a. | ephemeral: ephemeral, n.");
        EXPECT_EQ(Look(*mixed, "don't") + Look(*mixed, "new york"),
                  "don't: don't\n  do notNew York: New York\n  a city");
        EXPECT_EQ(Look(*mixed, "éclair") + Look(*mixed, "00-database-short"), "Éclair: Éclair\n  a cake");
        // Byte order, flagged by 00databaseutf8 (as FreeDict) or 00-database-allchars (as WordNet).
        for (const std::string flag : {"00databaseutf8", "00-database-allchars"}) {
            // clang-format off
            files.Files = DictdFiles("/d/b", {{"00databaseshort", "", "Byte Order\n"}, {flag, "", "\n"},
                {"Zeta", "", "Z\n"}, {"abc", "", "a\n"}, {"été", "", "summer\n"},
                {"été", "", "summer again\n"}},
                chunkLength);
            // clang-format on
            const auto bytes = Open(files, "/d/b.index");
            ASSERT_TRUE(bytes);
            EXPECT_EQ(bytes->Name(), "Byte Order");
            EXPECT_EQ(Look(*bytes, "zeta") + Look(*bytes, "abc"), "Zeta: Zabc: a");
            EXPECT_EQ(Look(*bytes, "ÉTÉ"), "été: summer | été: summer again");
        }
    }
    // Without a name entry the name is the file's; an index out of its order is still searched.
    TMemoryFiles files;
    files.Files = DictdFiles("/d/unsorted", {{"pear", "", "p"}, {"apple", "", "a"}, {"fig", "", "f"}});
    const auto unsorted = Open(files, "/d/unsorted.index");
    ASSERT_TRUE(unsorted);
    EXPECT_EQ(unsorted->Name() + Look(*unsorted, "apple") + Look(*unsorted, "fig") + Look(*unsorted, "pear"),
              "unsortedapple: afig: fpear: p");
}

TEST(RealDictionaries, LinesWithoutAHeadwordAreSkippedAndBlanksAtTheEndsAreNoPartOfTheWord) {
    // As FreeDict's indexes have them: empty headwords first, " ago" beside "ago", "abhinc ".
    // clang-format off
    TMemoryFiles files(DictdFiles("/d/f", {{"", "", "lost"}, {" aber dalli", "", "hurry"},
        {" ago", "", "adv."}, {"00databaseutf8", "", ""}, {"abhinc ", "", "since"}, {"ago", "", "before"}}));
    // clang-format on
    files.Files.merge(StarDictFiles("/d/s", {{"", Plain("lost")}, {" ago ", Plain("adv.")}}));
    const auto dictd = Open(files, "/d/f.index"), starDict = Open(files, "/d/s.ifo");
    ASSERT_TRUE(dictd && starDict);
    EXPECT_EQ(dictd->HeadwordCount() * 10 + dictd->SkippedCount(), 41u);
    EXPECT_EQ(starDict->HeadwordCount() * 10 + starDict->SkippedCount(), 11u);
    EXPECT_EQ(Look(*dictd, "AGO") + "/" + Look(*dictd, "abhinc") + "/" + Look(*dictd, "Aber Dalli"),
              "ago: adv. | ago: before/abhinc: since/aber dalli: hurry");
    EXPECT_EQ(Look(*starDict, "Ago"), "ago: adv.");
}

TEST(DamagedDictionaries, AreRefusedWithWhatIsWrong) {
    using TEdit = std::function<void(std::string&)>;
    const auto replace = [](std::string from, std::string to) -> TEdit {
        return [=](std::string& bytes) { bytes.replace(bytes.find(from), from.size(), to); };
    };
    const auto cut = [](std::size_t length) -> TEdit {
        return [=](std::string& bytes) { bytes.resize(bytes.size() - length); };
    };
    const auto set = [](std::string to) -> TEdit { return [=](std::string& bytes) { bytes = to; }; };
    // Each file damaged in a StarDict dictionary of two entries and a synonym (its .idx 20 bytes
    // long), in one with a .dict.dz or .idx.gz (one entry) or in a dictd one.
    // clang-format off
    const std::vector<std::tuple<const char*, const char*, TEdit>> cases = {
        {"The first line is not that of a StarDict .ifo file.", "t.ifo", replace("'s", "s")},
        {"The .ifo file is of version 2.5.0, which is not known.", "t.ifo", replace("4.2", "5.0")},
        {"Text that is not UTF-8 is in the .ifo file.", "t.ifo", replace("Test", "\xE9t\xE9")},
        {"The index is shorter than its idxfilesize.", "t.idx", cut(1)},
        {"The index holds more entries than its wordcount.", "t.ifo", replace("wordcount=2", "wordcount=1")},
        {"A headword in the index has no end.", "t.idx",
            [](std::string& idx) { idx.resize(10), idx.resize(20, 'b'); }},
        {"An entry of the index lies beyond the end of the definitions.", "t.dict", cut(1)},
        {"Text that is not UTF-8 is in the index.", "t.idx", replace("a", "\xC3")},
        {"A synonym in the .syn file points past the wordcount of the index.", "t.syn",
            set("c" + BigEndian(2, 5))},
        {"The .dict.dz file is damaged: it is not a gzip file.", "t.dict.dz", replace("\x8B", "x")},
        {"The .dict.dz file is damaged: it is shorter than its chunk table says (cut off?).", "t.dict.dz",
            cut(12)},
        {"The .dict.dz file is damaged: its last chunk does not inflate to its length.", "t.dict.dz",
            [](std::string& dz) { ++dz[dz.size() - 4]; }}, // its length one more
        {"The .dict.dz file is damaged: it has no chunk table (a plain gzip file, not dictzip).", "t.dict.dz",
            set(Dictzip("mtext"))},
        {"The index does not inflate to its idxfilesize.", "t.idx.gz", set(Dictzip(std::string(9, 'a')))},
        {"The .idx.gz file is damaged: it is not a whole gzip file.", "t.idx.gz", cut(9)},
        {"A headword in the index has no end (a line without its offset and length).", "t.index", set("a\n")},
        {"The index ends within a line (cut off?).", "t.index", cut(1)},
        {"A line of the index has an offset or length that is not a base-64 number.", "t.index",
            set("a\tA\tB=\n")},
        {"An entry of the index lies beyond the end of the definitions.", "t.index", set("a\tB\tC\n")},
    };
    // clang-format on
    for (const auto& [expected, file, damage] : cases) {
        SCOPED_TRACE(expected);
        const std::string name = file;
        TStarDictOptions options;
        options.ChunkLength = name == "t.dict.dz" ? 4 : 0;
        options.GzipIndex = name == "t.idx.gz";
        TMemoryFiles files;
        files.Files = name == "t.index" ? DictdFiles("t", {{"a", "", "x"}})
                      : options.ChunkLength || options.GzipIndex
                          ? StarDictFiles("t", {{"a", Plain("some text")}}, {}, options)
                          : StarDictFiles("t", {{"a", Plain("x")}, {"b", Plain("y")}}, {{"c", "a"}});
        damage(files.Files.at(name));
        std::string error;
        EXPECT_FALSE(OpenDictionary(files, name == "t.index" ? name : "t.ifo", error));
        EXPECT_EQ(error, expected);
    }
}

TEST(ChangedFiles, ALookupInAMovedReplacedOrCutFileIsUnreadableNotWrong) {
    TMemoryFiles files;
    TStarDictOptions options;
    options.ChunkLength = 8;
    files.Files = StarDictFiles("/d/t", {{"a", Plain("spans two chunks")}}, {}, options);
    const auto dictionary = Open(files, "/d/t.ifo");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(Look(*dictionary, "a"), "a: spans two chunks");
    files.Files["/d/t.dict.dz"] = Dictzip(Plain("spans two chunks, longer"), 8);
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");
    files.Files["/d/t.dict.dz"] = Dictzip(Plain("spans two chunkz"), 4); // another chunk table
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");
    files.Files.erase("/d/t.dict.dz");
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");
}

// A German word list in small: an umlaut plural by a suffix (two-letter flags) of a word listed in two
// letter cases, a form whose stem only its analysis gives, a prefix; in UTF-8, then in ISO8859-15.
TEST(Hunspell, StemsOfFormsInEitherEncodingWithoutTheWordItself) {
    std::string affix = "SET UTF-8\nFLAG long\nSFX Pl Y 1\nSFX Pl aus äuser aus\nPFX Un Y 1\nPFX Un 0 un .\n",
                words = "6\nHaus/Pl\nhaus/Pl\ngehen\nging st:gehen\nglücklich/Un\nÄhre\n";
    for (const std::string base : {"de_XX", "de_L9"}) {
        const std::string path = testing::TempDir() + base;
        ASSERT_TRUE(std::ofstream(path + ".aff") << affix && std::ofstream(path + ".dic") << words);
        const auto forms = Open(SystemDictFiles(), path + ".dic");
        ASSERT_TRUE(forms);
        EXPECT_EQ(forms->Name() + " " + std::to_string(forms->HeadwordCount()),
                  "Word forms (" + base + ") 6");
        std::string shown;
        for (const char* word : {"Häuser", "häuser", "Haus", "ging", "unglücklich", "Ähre", "Hauser", "Zug"})
            for (const std::string& stem : forms->Stems(word))
                shown += std::string(word) + "→" + stem + " ";
        EXPECT_EQ(shown, "Häuser→Haus häuser→haus ging→gehen unglücklich→glücklich ");
        const std::string before = Look(*forms, "Haus"); // no entries, while the files are there
        EXPECT_EQ(before + (std::remove((path + ".aff").c_str()), Look(*forms, "Haus")), "unreadable");
        for (const auto& [from, to] :
             {std::pair{"UTF-8", "ISO8859-15"}, {"ä", "\xE4"}, {"ü", "\xFC"}, {"Ä", "\xC4"}})
            affix = std::regex_replace(affix, std::regex(from), to),
            words = std::regex_replace(words, std::regex(from), to);
    }
}

TEST(Hunspell, BadWordListsAreRefusedBeforeHunspellReadsThem) {
    // clang-format off
    const std::vector<std::tuple<const char*, const char*, std::string>> cases = {
        {"Its affix file, t.aff, is not beside it.", "t.aff", ""},
        {"t.aff gives a flag type, \"short\", that is none of Hunspell's (long, num, UTF-8).", "t.aff", "FLAG short\n"},
        {"The first line of t.dic should give its number of words (2), but reads \"99999\".", "t.dic", "99999\nHaus\nBaum\n"},
        {"Line 3 of t.dic is longer than 8 KB.", "t.dic", "2\nHaus\n" + std::string(65536, 'a') + "\n"},
        {"t.dic holds text that is not in its encoding, UTF-8.", "t.dic", "2\nHaus\nH\xE4user\n"},
        {"t.aff holds text that is not in its encoding, ISO8859-1.", "t.aff", std::string("TRY a\0b\n", 8)},
        {"t.aff is in the encoding \"KOI9\", which this system cannot read.", "t.aff", "SET KOI9\n"},
        {"t.aff holds text that is not in its encoding, ISO8859-7.", "t.aff", "SET ISO8859-7\nTRY \xFF\n"},
    };
    // clang-format on
    for (const auto& [expected, file, bytes] : cases) {
        TMemoryFiles files({{"t.aff", "SET UTF-8\n"}, {"t.dic", "2\nHaus\nBaum\n"}});
        bytes.empty() ? void(files.Files.erase(file)) : void(files.Files[file] = bytes);
        std::string error;
        EXPECT_EQ(OpenDictionary(files, "t.dic", error) ? "opened" : error, expected);
    }
}

// Cross-references in the three formats come out as links; any other address is plain text.
TEST(Links, DictdBracesStarDictWordAnchorsAndXdxfKrefsAreMarkedOtherAddressesAreNot) {
    TMemoryFiles files(
        DictdFiles("/d/w", {{"lead", "", "lead\n  [syn: {Pb}, {atomic\n  number 82}] {} {open"}}));
    const std::string html =
        "<a href=\"bword://caf&eacute;\">Caf&eacute;</a>, <a href='http://x.org'>web</a>, "
        "<a href=\"file:///c:/x.exe\">file</a>, <A HREF=bword://pb>Pb</A>, <kref>lead</kref>";
    for (const std::string type : {"h", "x"}) // HTML and XDXF
        files.Files.merge(StarDictFiles("/d/" + type, {{"lead", type + html + '\0'}}, {}, {}));
    EXPECT_EQ(Look(*Open(files, "/d/w.index"), "lead"),
              "lead: lead\n  [syn: {Pb}, {atomic\n  number 82}] {} {open");
    for (const char* path : {"/d/h.ifo", "/d/x.ifo"})
        EXPECT_EQ(Look(*Open(files, path), "lead"), "lead: {café->Café}, web, file, {pb->Pb}, {lead}");
}

// Close headwords by one edit (any script, a whole character at a time) and by their beginning,
// in either index order; none for a word that has nothing near it.
TEST(CloseWords, OneEditAwayAndLongerHeadwordsComeFromEitherKindOfIndex) {
    std::vector<TDictdEntry> dictd;
    std::vector<TStarDictEntry> starDict;
    for (const std::string word : {"dachshund", "dachshunds", "dachsund-like", "dahcsund", "Dachau",
                                   "dichsund", "achsund", "λέξη", "λέξεις", "00-database-short"}) {
        dictd.push_back({word, "", word + "\n"});
        starDict.push_back({word, "m" + word + '\0'});
    }
    TMemoryFiles files(DictdFiles("/d/c", dictd));
    files.Files.merge(StarDictFiles("/d/s", starDict, {}, {}));
    for (const char* path : {"/d/c.index", "/d/s.ifo"}) {
        const auto dictionary = Open(files, path);
        std::string shown;
        for (const char* word : {"dachsund", "λέξ", "qqqqqq", ""}) {
            std::vector<std::string> edits, longer;
            dictionary->CloseHeadwords(word, 10, edits, longer);
            for (const std::string& edit : edits)
                shown += edit + " ";
            for (const std::string& more : longer)
                shown += "+" + more + " ";
            shown += "| ";
        }
        EXPECT_EQ(shown, "achsund dachshund dahcsund dichsund +dachsund-like | λέξη +λέξεις +λέξη | | | ")
            << path;
    }
}
