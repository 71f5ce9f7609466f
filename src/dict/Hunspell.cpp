// Hunspell word lists (a .dic with its .aff beside it, as LibreOffice, Firefox and Debian's hunspell-*
// packages ship them) as a dictionary without entries that gives the stems of a word's forms.
//
// Hunspell trusts its files: a word count that lies costs a table of that size, and its messages
// about a damaged file go to stderr, which a program without a console never shows. So both files
// are read and checked here first, and only files that pass go to Hunspell, which reads them again
// itself (through the C runtime's fopen, hence CRuntimePath).
#include <algorithm>
#include <cctype>
#include <exception>
#include <mutex>
#include <string_view>

#include <hunspell.hxx>

#include "common/UnicodeText.h"
#include "dict/DictReaders.h"
#include "dict/MarkupText.h"

namespace {

constexpr std::uint64_t MaxAffixFileSize = 32u << 20;
constexpr std::uint64_t MaxWordFileSize = 256u << 20;
constexpr std::size_t MaxLineLength = 8192;
constexpr std::size_t MaxWordLength = 255;

// The encoding of both files: UTF-8, or one of the 8-bit character sets that Hunspell knows, whose
// upper half (bytes 0x80 to 0xFF) the system's converter gives; 0 marks a byte that the set does
// not define. Hunspell's default, without a SET line, is ISO8859-1.
struct TCharset {
    bool Utf8 = false;
    std::u32string Upper;
};

// Hunspell's 8-bit sets, by its key of the name, with their numbers under Windows and names for
// iconv. (Windows has no ISO8859-10 or -14, and iconv no ISCII.)
constexpr struct {
    const char* Key;
    unsigned CodePage;
    const char* IconvName;
} EightBitSets[] = {{"iso88591", 28591, "ISO-8859-1"},   {"iso88592", 28592, "ISO-8859-2"},
                    {"iso88593", 28593, "ISO-8859-3"},   {"iso88594", 28594, "ISO-8859-4"},
                    {"iso88595", 28595, "ISO-8859-5"},   {"iso88596", 28596, "ISO-8859-6"},
                    {"iso88597", 28597, "ISO-8859-7"},   {"iso88598", 28598, "ISO-8859-8"},
                    {"iso88599", 28599, "ISO-8859-9"},   {"iso885910", 28600, "ISO-8859-10"},
                    {"iso885913", 28603, "ISO-8859-13"}, {"iso885914", 28604, "ISO-8859-14"},
                    {"iso885915", 28605, "ISO-8859-15"}, {"koi8r", 20866, "KOI8-R"},
                    {"koi8u", 21866, "KOI8-U"},          {"cp1251", 1251, "CP1251"},
                    {"microsoftcp1251", 1251, "CP1251"}, {"tis620", 874, "TIS-620"},
                    {"tis6202533", 874, "TIS-620"},      {"iso885911", 874, "TIS-620"},
                    {"isciidevanagari", 57002, ""}};

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// As Hunspell compares encoding names: letters and digits only, letter case ignored.
std::string CharsetKey(std::string_view name) {
    std::string key;
    for (const char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

std::string_view FirstField(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos)
        return {};
    const std::size_t end = line.find_first_of(" \t", start);
    return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// Splits text into lines (LF, CR LF), without their line ends.
template <typename TEach> void ForEachLine(std::string_view text, TEach each) {
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!each(line))
            return;
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

bool IsText(std::string_view text, const TCharset& charset) {
    if (text.find('\0') != std::string_view::npos)
        return false;
    if (charset.Utf8)
        return IsUtf8(text);
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80 &&
            (charset.Upper.size() != 128 || charset.Upper[static_cast<unsigned char>(c) - 0x80] == 0))
            return false;
    return true;
}

// The word in the files' encoding; false when one of its characters has none there.
bool Encode(const std::string& word, const TCharset& charset, std::string& encoded) {
    encoded = charset.Utf8 ? word : std::string();
    for (std::size_t at = 0; !charset.Utf8 && at < word.size();) {
        std::size_t length = 0;
        const char32_t c = DecodeUtf8(word, at, length);
        at += length;
        const std::size_t place = charset.Upper.find(c);
        if ((c >= 0x80 && place == std::u32string::npos) || (c == 0xFFFD && length == 1))
            return false;
        encoded += static_cast<char>(c < 0x80 ? c : 0x80 + place);
    }
    return true;
}

std::string Decode(const std::string& text, const TCharset& charset) {
    if (charset.Utf8)
        return WellFormedUtf8(text);
    std::wstring wide; // every 8-bit set's characters lie in the Basic Multilingual Plane
    for (const char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        wide += static_cast<wchar_t>(byte < 0x80 ? byte : charset.Upper[byte - 0x80]);
    }
    return Utf8FromUtf16(wide);
}

// The .aff file's settings that decide whether Hunspell can read the pair.
struct TAffixSettings {
    TCharset Charset;
    std::string CharsetName = "ISO8859-1";
};

bool CheckLines(std::string_view text, const std::string& name, std::string& error) {
    std::size_t number = 0;
    bool fits = true;
    ForEachLine(text, [&](std::string_view line) {
        ++number;
        fits = line.size() <= MaxLineLength;
        return fits;
    });
    if (!fits)
        error = "Line " + std::to_string(number) + " of " + name + " is longer than 8 KB.";
    return fits;
}

bool ReadAffixSettings(std::string_view affix, const std::string& name, TAffixSettings& settings,
                       std::string& error) {
    bool good = true;
    ForEachLine(WithoutByteOrderMark(affix), [&](std::string_view line) {
        const std::string_view keyword = FirstField(line);
        if (keyword != "SET" && keyword != "FLAG")
            return true;
        const std::string_view value = FirstField(line.substr(line.find(keyword) + keyword.size()));
        if (keyword == "FLAG" && value != "long" && value != "num" && value != "UTF-8") {
            error = name + " gives a flag type, \"" + std::string(value) +
                    "\", that is none of Hunspell's (long, num, UTF-8).";
            good = false;
        } else if (keyword == "SET") {
            settings.CharsetName = value;
            const std::string key = CharsetKey(value);
            settings.Charset.Utf8 = key == "utf8";
            good = settings.Charset.Utf8;
            for (const auto& set : EightBitSets)
                good = good || (key == set.Key &&
                                EightBitCharset(set.CodePage, set.IconvName, settings.Charset.Upper));
            if (!good)
                error = name + " is in the encoding \"" + std::string(value) +
                        "\", which this system cannot read.";
        }
        return good;
    });
    return good;
}

// The .dic file: a count line, then one word per line. Hunspell sizes its table by the count, so a
// count far from the lines that follow is refused rather than believed. Returns the word count.
bool CheckWordFile(std::string_view words, const std::string& name, std::size_t& wordCount,
                   std::string& error) {
    std::size_t lines = 0;
    std::string_view countLine;
    wordCount = 0;
    ForEachLine(WithoutByteOrderMark(words), [&](std::string_view line) {
        if (lines++ == 0)
            countLine = line;
        else if (!line.empty() && line[0] != '\t' && line[0] != ' ')
            ++wordCount; // a line that begins with a blank is a comment
        return true;
    });
    const std::string_view count = FirstField(countLine);
    std::uint64_t claimed = 0;
    bool number = !count.empty() && count.size() <= 10;
    for (const char c : count)
        if (number && c >= '0' && c <= '9')
            claimed = claimed * 10 + static_cast<unsigned>(c - '0');
        else
            number = false;
    if (!number || claimed == 0 || claimed > 2 * static_cast<std::uint64_t>(wordCount) + 100 ||
        claimed < wordCount / 2) {
        error = "The first line of " + name + " should give its number of words (" +
                std::to_string(wordCount) + "), but reads \"" + std::string(countLine.substr(0, 40)) + "\".";
        return false;
    }
    return true;
}

class THunspellForms : public TDictionary {
public:
    THunspellForms(const TDictFiles& files, std::string path, std::string affixPath)
        : Files(files), DicPath(std::move(path)), AffPath(std::move(affixPath)) {}
    bool Open(std::string& error);

    const std::string& Name() const override { return ShownName; }
    std::size_t HeadwordCount() const override { return WordCount; }
    const std::string& Path() const override { return DicPath; }
    // A word list has no entries; it is there while its two files are.
    bool Lookup(const std::string& /*word*/, std::vector<TDictEntry>& entries) const override {
        entries.clear();
        return Files.Open(DicPath) && Files.Open(AffPath);
    }
    std::vector<std::string> Stems(const std::string& word) const override;

private:
    const TDictFiles& Files;
    std::string DicPath, AffPath, ShownName;
    std::size_t WordCount = 0;
    TCharset Charset;
    // One Hunspell object is not safe for calls from two threads at once.
    mutable std::mutex Lock;
    std::unique_ptr<Hunspell> Speller;
};

bool THunspellForms::Open(std::string& error) {
    const std::string dicName = FileName(DicPath), affName = FileName(AffPath);
    std::string affix, words;
    if (!Files.Open(AffPath)) {
        error = "Its affix file, " + affName + ", is not beside it.";
        return false;
    }
    if (!ReadWholeFile(Files, AffPath, MaxAffixFileSize, affix)) {
        error = affName + " cannot be read, or is larger than 32 MB.";
        return false;
    }
    if (!ReadWholeFile(Files, DicPath, MaxWordFileSize, words)) {
        error = dicName + " cannot be read, or is larger than 256 MB.";
        return false;
    }
    TAffixSettings settings;
    EightBitCharset(28591, "ISO-8859-1", settings.Charset.Upper);
    if (!CheckLines(affix, affName, error) || !CheckLines(words, dicName, error) ||
        !ReadAffixSettings(affix, affName, settings, error))
        return false;
    for (const auto& [text, name] : {std::pair{&affix, &affName}, std::pair{&words, &dicName}})
        if (!IsText(*text, settings.Charset)) {
            error = *name + " holds text that is not in its encoding, " + settings.CharsetName + ".";
            return false;
        }
    if (!CheckWordFile(words, dicName, WordCount, error))
        return false;
    affix.clear();
    words.clear();

    const std::string affixName = CRuntimePath(AffPath), wordsName = CRuntimePath(DicPath);
    if (affixName.empty() || wordsName.empty()) {
        error = "Hunspell cannot open files in this folder: its name has characters outside the system's "
                "code page.";
        return false;
    }
    Speller = std::make_unique<Hunspell>(affixName.c_str(), wordsName.c_str());
    Charset = settings.Charset;
    const std::string stem = dicName.substr(0, dicName.size() - 4);
    ShownName = "Word forms (" + stem + ")";
    return true;
}

std::vector<std::string> THunspellForms::Stems(const std::string& word) const {
    std::vector<std::string> stems;
    std::string encoded;
    if (word.empty() || word.size() > MaxWordLength || !Encode(word, Charset, encoded))
        return stems;
    std::vector<std::string> found;
    try {
        const std::lock_guard<std::mutex> hold(Lock);
        found = Speller->stem(encoded);
    } catch (const std::exception&) {
        return stems; // no memory for this word's forms: it has none to show
    }
    // Hunspell may give a stem in two letter cases ("haus", "Haus" for "Häusern"), which find the
    // same entries: the one whose first letter has the word's case is kept.
    const auto capital = [](const std::string& text) {
        std::size_t length = 0;
        const char32_t first = text.empty() ? 0 : DecodeUtf8(text, 0, length);
        return FoldCase(first) != first;
    };
    for (const std::string& stem : found) {
        const std::string text = Decode(stem, Charset);
        if (text.empty() || FoldCase(text) == FoldCase(word)) // finds what the word itself finds
            continue;
        const auto same = std::find_if(stems.begin(), stems.end(), [&](const std::string& earlier) {
            return FoldCase(earlier) == FoldCase(text);
        });
        if (same == stems.end())
            stems.push_back(text);
        else if (capital(*same) != capital(word) && capital(text) == capital(word))
            *same = text;
    }
    return stems;
}

} // namespace

std::unique_ptr<TDictionary> OpenHunspell(const TDictFiles& files, const std::string& path,
                                          std::string& error) {
    auto forms = std::make_unique<THunspellForms>(files, path, path.substr(0, path.size() - 4) + ".aff");
    if (!forms->Open(error))
        return nullptr;
    return forms;
}
