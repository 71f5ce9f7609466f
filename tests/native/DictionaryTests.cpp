// The dictionary readers on small dictionaries written here: every StarDict and dictd variant,
// dictzip chunks, damaged files refused with their reason, and files that go away after opening.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>

#include "dict/DictData.h"
#include "dict/DictReaders.h"
#include "support/DictWriter.h"

using namespace DictWriter;

namespace {

// Each lookup's result as "headword: text" lines, or "unreadable".
std::string Look(const TDictionary& dictionary, const std::string& word) {
    std::vector<TDictEntry> entries;
    if (!dictionary.Lookup(word, entries))
        return "unreadable";
    std::string shown;
    for (const TDictEntry& entry : entries)
        shown += (shown.empty() ? "" : " | ") + entry.Headword + ": " + entry.Text;
    return shown;
}

std::unique_ptr<TDictionary> OpenOrFail(const TMemoryFiles& files, const std::string& path) {
    std::string error;
    auto dictionary = OpenDictionary(files, path, error);
    EXPECT_TRUE(dictionary) << path << ": " << error;
    return dictionary;
}

std::string Refusal(const TMemoryFiles& files, const std::string& path) {
    std::string error;
    return OpenDictionary(files, path, error) ? "opened" : error;
}

// Every field as type byte and data: plain text with its NUL.
std::string Plain(const std::string& text) {
    return "m" + text + std::string(1, '\0');
}

const std::vector<TStarDictEntry> StarDictEntries = {
    {"apple", Plain("a fruit")},   {"Apple", Plain("a company")},  {"λέξη", Plain("word")},
    {"bank", Plain("river side")}, {"bank", Plain("money house")}, {"zebra", Plain("striped")},
};
const std::vector<std::pair<std::string, std::string>> StarDictSynonyms = {
    {"pomme", "apple"}, {"Pomme", "apple"}, {"λόγος", "λέξη"}};

} // namespace

TEST(StarDict, EveryFileVariantOpensAndFindsTheSameEntries) {
    struct TVariant {
        const char* Name;
        TStarDictOptions Options;
    };
    std::vector<TVariant> variants(6);
    variants[0].Name = "2.4.2, LF";
    variants[1].Name = "3.0.0, CRLF, BOM";
    variants[1].Options.Version = "3.0.0";
    variants[1].Options.LineEnd = "\r\n";
    variants[1].Options.ByteOrderMark = true;
    variants[2].Name = "CR";
    variants[2].Options.LineEnd = "\r";
    variants[3].Name = ".idx.gz";
    variants[3].Options.GzipIndex = true;
    variants[4].Name = ".dict.dz";
    variants[4].Options.ChunkLength = 16;
    variants[5].Name = "64-bit offsets";
    variants[5].Options.Version = "3.0.0";
    variants[5].Options.OffsetBits64 = true;
    for (const TVariant& variant : variants) {
        SCOPED_TRACE(variant.Name);
        TMemoryFiles files;
        files.Files =
            StarDictFiles("/d/test", "Test Book", StarDictEntries, StarDictSynonyms, variant.Options);
        const auto dictionary = OpenOrFail(files, "/d/test.ifo");
        if (!dictionary)
            continue;
        EXPECT_EQ(dictionary->Name(), "Test Book");
        EXPECT_EQ(dictionary->HeadwordCount(), 6u);
        EXPECT_EQ(dictionary->Path(), "/d/test.ifo");
        // The word as it stands first; other letter case only when it has none.
        EXPECT_EQ(Look(*dictionary, "apple"), "apple: a fruit");
        EXPECT_EQ(Look(*dictionary, "Apple"), "Apple: a company");
        EXPECT_EQ(Look(*dictionary, "APPLE"), "Apple: a company | apple: a fruit");
        EXPECT_EQ(Look(*dictionary, "Λέξη"), "λέξη: word");
        EXPECT_EQ(Look(*dictionary, "ΛΈΞΗ"), "λέξη: word");
        // Duplicates in file order; a synonym gives its entry once, also when two spellings match.
        EXPECT_EQ(Look(*dictionary, "bank"), "bank: river side | bank: money house");
        EXPECT_EQ(Look(*dictionary, "pomme"), "apple: a fruit");
        EXPECT_EQ(Look(*dictionary, "POMME"), "apple: a fruit");
        EXPECT_EQ(Look(*dictionary, "λόγος"), "λέξη: word");
        EXPECT_EQ(Look(*dictionary, "pear"), "");
        EXPECT_EQ(Look(*dictionary, std::string(256, 'a')), "");
    }
}

TEST(StarDict, FieldsBecomeReadableTextWithAndWithoutSameTypeSequence) {
    const std::string nul(1, '\0');
    // Plain types as they are; markup without tags, breaks kept, entities decoded; binary and
    // resource fields left out (a binary length is big-endian, whatever the machine).
    EXPECT_EQ(StarDictText("mplain <b>text</b>" + nul + "tfəˈnɛtɪk" + nul, ""),
              "plain <b>text</b>\nfəˈnɛtɪk");
    EXPECT_EQ(StarDictText("h<p>One&nbsp;&amp;<br>two</p><p>&lt;three&#x3E; &#233;&eacute;</p>" + nul, ""),
              "One\xC2\xA0&\ntwo\n\n<three> éé");
    EXPECT_EQ(StarDictText("g<b>bold</b>\n<span foreground=\"red\">red</span>" + nul, ""), "bold\nred");
    EXPECT_EQ(StarDictText("x<k>key</k><def>meaning<ex>example</ex></def>" + nul, ""),
              "key\nmeaning\nexample");
    EXPECT_EQ(StarDictText("rimg:a.png\nsnd:a.wav" + nul + "W" + BigEndian(3, 4) + std::string("\0\1\2", 3) +
                               "mafter" + nul,
                           ""),
              "after");
    // With sametypesequence the last field has no end of its own and runs to the entry's end.
    EXPECT_EQ(StarDictText("first" + nul + "last <i>one</i>", "mh"), "first\nlast one");
    EXPECT_EQ(StarDictText(BigEndian(2, 4) + "\xFF\xFE" + "text", "Pm"), "text");
    EXPECT_EQ(StarDictText("whole entry", "m"), "whole entry");
    // Text that is not UTF-8 is shown with replacement characters; a length past the end stops.
    EXPECT_EQ(StarDictText("m\xFFok" + nul, ""), "\xEF\xBF\xBDok");
    EXPECT_EQ(StarDictText("W" + BigEndian(1000, 4) + "xyz", ""), "");

    TMemoryFiles files;
    TStarDictOptions options;
    options.SameTypes = "tm";
    files.Files = StarDictFiles("/d/s", "S", {{"word", "wɜːd" + nul + "a unit of language"}}, {}, options);
    const auto dictionary = OpenOrFail(files, "/d/s.ifo");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(Look(*dictionary, "word"), "word: wɜːd\na unit of language");
}

TEST(Dictd, BothOrdersThreeAndFourColumnsAndTheNameFromItsEntry) {
    // Default order (as GCIDE): keys compared ignoring case and all but letters, digits and
    // spaces; a normalised key with the original spelling in the 4th column.
    const std::vector<TDictdEntry> defaultOrder = {
        {"00-database-short", "", "00-database-short\n     Mixed Case Dictionary\n"},
        {"Abacus", "", "Abacus\n  a frame\n"},
        {"dont", "don't", "don't\n  do not\n"},
        {"Ephemeral", "", "Ephemeral, a.\n  short-lived\n"},
        {"ephemeral", "", "ephemeral, n.\n  a plant\n"},
        {"new york", "New York", "New York\n  a city\n"},
        {"Éclair", "", "Éclair\n  a cake\n"},
    };
    // Byte order, flagged by 00databaseutf8 (as FreeDict) or 00-database-allchars (as WordNet).
    const std::vector<TDictdEntry> byteOrder = {
        {"00databaseshort", "", "French-Test\n"},
        {"00databaseutf8", "", "\n"},
        {"Zeta", "", "capital\n"},
        {"abc", "", "first\n"},
        {"été", "", "summer\n"},
        {"été", "", "summer again\n"},
    };
    for (const std::uint32_t chunkLength : {0u, 20u}) {
        SCOPED_TRACE(chunkLength);
        TMemoryFiles files;
        files.Files = DictdFiles("/d/mixed", defaultOrder, chunkLength);
        const auto mixed = OpenOrFail(files, "/d/mixed.index");
        ASSERT_TRUE(mixed);
        EXPECT_EQ(mixed->Name(), "Mixed Case Dictionary");
        EXPECT_EQ(mixed->HeadwordCount(), 6u);
        EXPECT_EQ(Look(*mixed, "abacus"), "Abacus: Abacus\n  a frame");
        EXPECT_EQ(Look(*mixed, "Ephemeral"), "Ephemeral: Ephemeral, a.\n  short-lived");
        EXPECT_EQ(Look(*mixed, "EPHEMERAL"),
                  "Ephemeral: Ephemeral, a.\n  short-lived | ephemeral: ephemeral, n.\n  a plant");
        EXPECT_EQ(Look(*mixed, "don't"), "don't: don't\n  do not");
        EXPECT_EQ(Look(*mixed, "new york"), "New York: New York\n  a city");
        EXPECT_EQ(Look(*mixed, "éclair"), "Éclair: Éclair\n  a cake");
        EXPECT_EQ(Look(*mixed, "00-database-short"), "");

        files.Files = DictdFiles("/d/bytes", byteOrder, chunkLength);
        const auto bytes = OpenOrFail(files, "/d/bytes.index");
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->Name(), "French-Test");
        EXPECT_EQ(Look(*bytes, "zeta"), "Zeta: capital");
        EXPECT_EQ(Look(*bytes, "ÉTÉ"), "été: summer | été: summer again");
        EXPECT_EQ(Look(*bytes, "abc"), "abc: first");
    }
    // Without a name entry the name is the file's; an index out of its order is still searched.
    TMemoryFiles files;
    files.Files = DictdFiles("/d/unsorted", {{"pear", "", "p\n"}, {"apple", "", "a\n"}, {"fig", "", "f\n"}});
    const auto unsorted = OpenOrFail(files, "/d/unsorted.index");
    ASSERT_TRUE(unsorted);
    EXPECT_EQ(unsorted->Name(), "unsorted");
    EXPECT_EQ(Look(*unsorted, "apple") + Look(*unsorted, "fig") + Look(*unsorted, "pear"),
              "apple: afig: fpear: p");
}

TEST(Dictzip, ReadsAnyRangeInflatingOnlyItsChunksAcrossChunkBoundaries) {
    std::string data;
    for (int i = 0; data.size() < 1000; ++i)
        data += "entry " + std::to_string(i * 7919) + "; ";
    TMemoryFiles files;
    files.Files["/d/x.dict.dz"] = Dictzip(data, 64);
    std::string error, bytes;
    const auto zipped = TDictData::Open(files, "/d/x.dict.dz", error);
    ASSERT_TRUE(zipped) << error;
    EXPECT_EQ(zipped->Size(), data.size());
    for (std::uint64_t offset : {0, 1, 60, 63, 64, 127, 500, 999})
        for (std::uint64_t length : {0, 1, 4, 64, 65, 200})
            if (offset + length <= data.size()) {
                ASSERT_TRUE(zipped->Read(offset, length, bytes)) << offset << "+" << length;
                EXPECT_EQ(bytes, data.substr(offset, length)) << offset << "+" << length;
            }
    EXPECT_FALSE(zipped->Read(data.size() - 10, 11, bytes));
    EXPECT_FALSE(zipped->Read(~0ull, 2, bytes));
    // An entry across a chunk boundary, through the StarDict reader.
    TStarDictOptions options;
    options.ChunkLength = 8;
    files.Files = StarDictFiles("/d/c", "C", {{"across", Plain("spans three chunks of eight")}}, {}, options);
    const auto dictionary = OpenOrFail(files, "/d/c.ifo");
    ASSERT_TRUE(dictionary);
    EXPECT_EQ(Look(*dictionary, "across"), "across: spans three chunks of eight");
}

TEST(DamagedDictionaries, AreRefusedWithWhatIsWrong) {
    const std::string nul(1, '\0');
    const auto starDict = [&](TStarDictOptions options = {}) {
        return StarDictFiles("/d/t", "T", {{"a", Plain("x")}, {"b", Plain("y")}}, {{"c", "a"}}, options);
    };
    struct TCase {
        const char* Expected;
        std::string Path;
        std::function<void(std::map<std::string, std::string>&)> Damage;
    };
    const auto replace = [](std::string& text, const std::string& from, const std::string& to) {
        text.replace(text.find(from), from.size(), to);
    };
    const TCase cases[] = {
        {"The first line is not that of a StarDict .ifo file.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "StarDict's", "Stardict's"); }},
        {"The .ifo file is of version 2.5.0, which is not known.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "2.4.2", "2.5.0"); }},
        {"The .ifo file gives no bookname.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "bookname", "name"); }},
        {"Text that is not UTF-8 is in the .ifo file.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "=T", "=\xE9t\xE9"); }},
        {"The index is shorter than its idxfilesize.", "/d/t.ifo",
         [&](auto& f) { f["/d/t.idx"].pop_back(); }},
        {"The index holds more entries than its wordcount.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "wordcount=2", "wordcount=1"); }},
        {"A headword in the index has no end.", "/d/t.ifo",
         [&](auto& f) {
             const std::string size = std::to_string(f["/d/t.idx"].size());
             replace(f["/d/t.ifo"], "idxfilesize=" + size,
                     "idxfilesize=" + std::to_string(std::stoi(size) + 2));
             replace(f["/d/t.ifo"], "wordcount=2", "wordcount=3");
             f["/d/t.idx"] += "zz";
         }},
        {"An entry of the index lies beyond the end of the definitions.", "/d/t.ifo",
         [&](auto& f) { f["/d/t.dict"].pop_back(); }},
        {"Text that is not UTF-8 is in the index.", "/d/t.ifo", [&](auto& f) { f["/d/t.idx"][0] = '\xC3'; }},
        {"A synonym in the .syn file points past the wordcount of the index.", "/d/t.ifo",
         [&](auto& f) { f["/d/t.syn"].back() = 2; }},
        {"The .syn file holds more synonyms than its synwordcount.", "/d/t.ifo",
         [&](auto& f) { f["/d/t.syn"] += "d" + nul + BigEndian(1, 4); }},
        {"The .ifo file gives no synwordcount for its .syn file.", "/d/t.ifo",
         [&](auto& f) { replace(f["/d/t.ifo"], "synwordcount", "synonyms"); }},
        {"The .dict.dz file is damaged: it is not a gzip file.", "/d/z.ifo",
         [&](auto& f) {
             TStarDictOptions options;
             options.ChunkLength = 4;
             f = StarDictFiles("/d/z", "Z", {{"a", Plain("some text")}}, {}, options);
             f["/d/z.dict.dz"][1] = 'x';
         }},
        {"The .dict.dz file is damaged: it is shorter than its chunk table says (cut off?).", "/d/z.ifo",
         [&](auto& f) {
             TStarDictOptions options;
             options.ChunkLength = 4;
             f = StarDictFiles("/d/z", "Z", {{"a", Plain("some text")}}, {}, options);
             f["/d/z.dict.dz"].resize(f["/d/z.dict.dz"].size() - 12);
         }},
        {"The .dict.dz file is damaged: its last chunk does not inflate to its length.", "/d/z.ifo",
         [&](auto& f) {
             TStarDictOptions options;
             options.ChunkLength = 4;
             f = StarDictFiles("/d/z", "Z", {{"a", Plain("some text")}}, {}, options);
             std::string& dz = f["/d/z.dict.dz"];
             dz[dz.size() - 4] = 12; // ISIZE one more than the data
         }},
        {"The .dict.dz file is damaged: it has no chunk table (a plain gzip file, not dictzip).", "/d/z.ifo",
         [&](auto& f) {
             f = StarDictFiles("/d/z", "Z", {{"a", Plain("some text")}});
             f["/d/z.dict.dz"] = Gzip(f["/d/z.dict"]);
             f.erase("/d/z.dict");
         }},
        {"The index does not inflate to its idxfilesize.", "/d/g.ifo",
         [&](auto& f) {
             TStarDictOptions options;
             options.GzipIndex = true;
             options.ExtraIfoLines = "idxfilesize=99\n";
             f = StarDictFiles("/d/g", "G", {{"a", Plain("x")}}, {}, options);
         }},
        {"The .idx.gz file is damaged: it is not a whole gzip file.", "/d/g.ifo",
         [&](auto& f) {
             TStarDictOptions options;
             options.GzipIndex = true;
             f = StarDictFiles("/d/g", "G", {{"a", Plain("x")}}, {}, options);
             f["/d/g.idx.gz"].resize(f["/d/g.idx.gz"].size() - 9);
         }},
        {"A headword in the index has no end (a line without its offset and length).", "/d/i.index",
         [&](auto& f) {
             f = DictdFiles("/d/i", {{"a", "", "x"}}), f["/d/i.index"] = "a\n";
         }},
        {"The index ends within a line (cut off?).", "/d/i.index",
         [&](auto& f) {
             f = DictdFiles("/d/i", {{"a", "", "x"}}), f["/d/i.index"].pop_back();
         }},
        {"A line of the index has an offset or length that is not a base-64 number.", "/d/i.index",
         [&](auto& f) {
             f = DictdFiles("/d/i", {{"a", "", "x"}}), f["/d/i.index"] = "a\tA\tB=\n";
         }},
        {"An entry of the index lies beyond the end of the definitions.", "/d/i.index",
         [&](auto& f) {
             f = DictdFiles("/d/i", {{"a", "", "x"}}), f["/d/i.index"] = "a\tA\tC\n";
         }},
        {"Text that is not UTF-8 is in the index.", "/d/i.index",
         [&](auto& f) {
             f = DictdFiles("/d/i", {{"a", "", "x"}}), f["/d/i.index"] = "\xE9t\xE9\tA\tB\n";
         }},
        {"It is neither a StarDict (.ifo) nor a dictd (.index) file.", "/d/t.idx", [](auto&) {}},
    };
    for (const TCase& damaged : cases) {
        SCOPED_TRACE(damaged.Expected);
        TMemoryFiles files;
        files.Files = starDict();
        damaged.Damage(files.Files);
        EXPECT_EQ(Refusal(files, damaged.Path), damaged.Expected);
    }
}

TEST(ChangedFiles, ALookupInAMovedReplacedOrCutFileIsUnreadableNotWrong) {
    TMemoryFiles files;
    TStarDictOptions options;
    options.ChunkLength = 8;
    files.Files = StarDictFiles("/d/t", "T", {{"a", Plain("first entry")}}, {}, options);
    auto files2 = files.Files;
    const auto dictionary = OpenOrFail(files, "/d/t.ifo");
    ASSERT_TRUE(dictionary);
    files.Files["/d/t.dict.dz"] = Dictzip("first entry" + std::string(1, '\0') + "longer", 8);
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");
    files.Files["/d/t.dict.dz"] = Dictzip("other entry" + std::string(1, '\0'), 4); // another chunk table
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");
    files.Files = files2;
    EXPECT_EQ(Look(*dictionary, "a"), "a: first entry");
    files.Files.erase("/d/t.dict.dz");
    EXPECT_EQ(Look(*dictionary, "a"), "unreadable");

    // The system's files: the data file deleted from the disk after opening.
    const std::string base = testing::TempDir() + "dict-changed";
    for (const auto& [path, bytes] : DictdFiles(base, {{"word", "", "its text\n"}}))
        std::ofstream(path, std::ios::binary) << bytes;
    std::string error;
    const auto onDisk = TDictionary::Open(base + ".index", error);
    ASSERT_TRUE(onDisk) << error;
    EXPECT_EQ(Look(*onDisk, "word"), "word: its text");
    std::remove((base + ".dict").c_str());
    EXPECT_EQ(Look(*onDisk, "word"), "unreadable");
    std::remove((base + ".index").c_str());
}
