// The selection cleaned into the lookup text, and the captions of the link menu.
#include <gtest/gtest.h>

#include <set>

#include "lookup/LookupText.h"

namespace {

std::string Cleaned(std::string text) {
    CleanLookupText(text);
    return text;
}

// The accelerator characters of the captions, upper-cased; an empty string where there is none.
std::vector<std::string> Accelerators(const std::vector<std::string>& captions) {
    std::vector<std::string> keys;
    for (const std::string& caption : captions) {
        std::string key;
        for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] != '&')
                continue;
            if (caption[i + 1] != '&') {
                key = std::string(
                    1, static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1]))));
                break;
            }
            ++i;
        }
        keys.push_back(key);
    }
    return keys;
}

} // namespace

TEST(LookupText, KeepsTheFirstCrLfLineWithoutItsBlanks) {
    EXPECT_EQ(TrimBlanks(" \t\r\n"), "");
    EXPECT_EQ(TrimBlanks(""), "");
    EXPECT_EQ(TrimBlanks("\x0B word\x0C "), "\x0B word\x0C"); // only tab, LF, CR and space are blanks
    EXPECT_EQ(Cleaned("  hello  world \t\r\nsecond line"), "hello  world");
    EXPECT_EQ(Cleaned("\r\n\r\nafter empty lines"), "after empty lines");
    EXPECT_EQ(Cleaned("one\ntwo\rthree \r\n four"), "one\ntwo\rthree");
    EXPECT_EQ(Cleaned(" x \r"), "x");
    EXPECT_EQ(Cleaned(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(LookupText, TheDictionaryWordLosesPunctuationQuotesAndInvisiblesAtItsEndsInAnyScript) {
    // An apostrophe or hyphen inside stays, a symbol is no punctuation; curly quotes, guillemets,
    // the Spanish marks, a Greek question mark, CJK and full-width brackets, an ellipsis and a
    // no-break space are characters of several bytes; letters at the ends, and bytes that are no
    // character, stay as they are.
    // clang-format off
    for (const auto& [text, word] : std::vector<std::pair<std::string, std::string>>{
            {"\"ephemeral.\"", "ephemeral"}, {"(don't!)", "don't"}, {"state-of-the-art,", "state-of-the-art"},
            {"...?!", ""}, {"$5", "$5"}, {"\u201Cword\u201D\u2026", "word"}, {"\u00BFqu\u00E9?", "qu\u00E9"},
            {"\u00AB\u00A0mot\u00A0\u00BB", "mot"}, {"\uFF08\u8A9E\uFF09", "\u8A9E"},
            {"\u03BB\u03AD\u03BE\u03B7\u037E", "\u03BB\u03AD\u03BE\u03B7"},
            {"\u300C\u8F9E\u66F8\u300D\u3002", "\u8F9E\u66F8"}, {"\u00E9t\u00E9", "\u00E9t\u00E9"},
            {"\"a\xE2\x80", "a\xE2\x80"}, {"\x80.", "\x80"}})
        // clang-format on
        EXPECT_EQ(DictionaryWord(text), word) << text;
}

TEST(LinkMenu, CaptionsShowAmpersandsLiterallyAndEveryEntryGetsAnAcceleratorOfItsOwn) {
    EXPECT_EQ(LinkMenuCaption("Q&A && more"), "Q&&A &&&& more");
    EXPECT_EQ(WithoutAmpersands(LinkMenuHeading("R&D")), "Look up 'RD' at...");

    // The heading keeps the accelerator that the lookup text gave it, and nobody else takes it.
    std::vector<std::string> captions = {
        LinkMenuHeading("R&D"), "Glossa", "Glossary", "Dictionary", "Q&&A", "glossa", "!!!", "1 2 3"};
    AssignMenuAccelerators(captions);
    EXPECT_EQ(captions[0], "Look up 'R&D' at...");
    EXPECT_EQ(captions[1], "&Glossa");
    EXPECT_EQ(captions[2], "G&lossary");
    EXPECT_EQ(captions[3], "D&ictionary");
    EXPECT_EQ(captions[4], "&Q&&A");
    EXPECT_EQ(captions[6], "!!!");
    EXPECT_EQ(WithoutAmpersands(captions[4]), "QA"); // the text is unchanged apart from the "&"s
    std::set<std::string> seen;
    for (const std::string& key : Accelerators(captions)) {
        if (!key.empty()) {
            EXPECT_TRUE(seen.insert(key).second) << "accelerator " << key << " given twice";
        }
    }
    EXPECT_EQ(captions[5], "gl&ossa");

    // A repeated accelerator is dropped; the caption then gets a free one.
    std::vector<std::string> repeated = {"&Alpha", "&Apple"};
    AssignMenuAccelerators(repeated);
    EXPECT_EQ(repeated[1], "A&pple");
}

TEST(LinkMenu, AcceleratorsComeFromLettersOfAnyAlphabetCaseIgnoredButNotFromIdeographs) {
    // Greek "Lexiko" and "lexi", Cyrillic "Slovar'", and "jisho" in kanji twice.
    std::vector<std::string> captions = {"\xCE\x9B\xCE\xB5", "\xCE\xBB\xCE\xAD", "\xD0\xA1\xD0\xBB",
                                         "\xE8\xBE\x9E\xE6\x9B\xB8", "\xE8\xBE\x9E\xE6\x9B\xB8 2"};
    AssignMenuAccelerators(captions);
    EXPECT_EQ(captions,
              (std::vector<std::string>{"&\xCE\x9B\xCE\xB5", "\xCE\xBB&\xCE\xAD", "&\xD0\xA1\xD0\xBB",
                                        "\xE8\xBE\x9E\xE6\x9B\xB8", "\xE8\xBE\x9E\xE6\x9B\xB8 &2"}));
}
