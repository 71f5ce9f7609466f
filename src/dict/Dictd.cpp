// dictd dictionaries: the .index has a line per entry, "headword TAB offset TAB length [TAB
// original headword]" with the numbers in base 64, sorted either ignoring case and all but
// letters, digits and spaces, or (when the dictionary says it keeps all characters or is UTF-8)
// in plain byte order; the .dict or .dict.dz holds the definitions as plain text.
#include <algorithm>
#include <exception>

#include "dict/DictData.h"
#include "dict/DictReaders.h"
#include "dict/HeadwordIndex.h"
#include "dict/MarkupText.h"

namespace {

constexpr std::uint64_t MaxIndexSize = 0xFFFFFFFFull; // entry starts are 32-bit
constexpr std::size_t MaxWordLength = 255;
constexpr std::uint64_t MaxNameLength = 4096;

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

bool IsInformation(std::string_view headword) {
    return StartsWith(headword, "00-database") || StartsWith(headword, "00database");
}

// Headwords that say the index is in byte order.
bool SaysByteOrder(std::string_view headword) {
    for (const std::string_view flag : {"00-database-allchars", "00databaseallchars", "00-database-utf8",
                                        "00databaseutf8", "00-database-8bit-new", "00database8bitnew"})
        if (headword == flag)
            return true;
    return false;
}

// A base-64 number (A-Z a-z 0-9 + / are 0..63, most significant first), or false.
bool ParseBase64(std::string_view text, std::uint64_t& value) {
    value = 0;
    if (text.empty() || text.size() > 8)
        return false;
    for (const char c : text) {
        int digit = c >= 'A' && c <= 'Z'   ? c - 'A'
                    : c >= 'a' && c <= 'z' ? c - 'a' + 26
                    : c >= '0' && c <= '9' ? c - '0' + 52
                    : c == '+'             ? 62
                    : c == '/'             ? 63
                                           : -1;
        if (digit < 0)
            return false;
        value = value << 6 | static_cast<std::uint64_t>(digit);
    }
    return true;
}

// One line of the index, without its LF.
struct TIndexLine {
    std::string_view Key, Original;
    std::uint64_t Offset = 0, Length = 0;
    // The spelling shown and compared: the original one where the line gives it.
    std::string_view Headword() const { return WithoutEndBlanks(Original.empty() ? Key : Original); }
};

// False with the reason when the line is not one of three or four columns with two numbers.
bool SplitLine(std::string_view line, TIndexLine& parsed, const char*& error) {
    std::string_view columns[5];
    std::size_t count = 0;
    for (std::size_t at = 0; count < 5;) {
        const std::size_t tab = line.find('\t', at);
        columns[count++] = line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at);
        if (tab == std::string_view::npos)
            break;
        at = tab + 1;
    }
    if (count < 3 || count > 4) {
        error = count < 3 ? "A headword in the index has no end (a line without its offset and length)."
                          : "A line of the index has more than four columns.";
        return false;
    }
    if (columns[0].size() > MaxWordLength * 4 || (count == 4 && columns[3].size() > MaxWordLength * 4)) {
        error = "A headword in the index is longer than a headword can be.";
        return false;
    }
    if (!ParseBase64(columns[1], parsed.Offset) || !ParseBase64(columns[2], parsed.Length)) {
        error = "A line of the index has an offset or length that is not a base-64 number.";
        return false;
    }
    parsed.Key = columns[0];
    parsed.Original = count == 4 ? columns[3] : std::string_view();
    return true;
}

// The dictionary's name from its 00-database-short entry: without a first line that repeats the
// entry's own headword, leading blanks and the final line break.
std::string NameFromEntry(std::string text) {
    if (StartsWith(text, "00-database") || StartsWith(text, "00database")) {
        const std::size_t end = text.find('\n');
        text.erase(0, end == std::string::npos ? text.size() : end + 1);
    }
    text.erase(0, std::min(text.find_first_not_of(" \t\r\n"), text.size()));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    const std::size_t lineEnd = text.find('\n');
    return WellFormedUtf8(text.substr(0, lineEnd));
}

class TDictd : public TDictionary {
public:
    TDictd(const TDictFiles& files, std::string path) : Files(files), DictPath(std::move(path)) {}
    bool Open(std::string& error);

    const std::string& Name() const override { return DictName; }
    std::size_t HeadwordCount() const override { return Count; }
    const std::string& Path() const override { return DictPath; }
    std::size_t SkippedCount() const override { return Skipped; }
    bool Lookup(const std::string& word, std::vector<TDictEntry>& entries) const override;
    void CloseHeadwords(const std::string& word, std::size_t limit, std::vector<std::string>& edits,
                        std::vector<std::string>& longer) const override;

private:
    bool LookupEntries(const std::string& word, std::vector<TDictEntry>& entries) const;
    TIndexLine Line(std::uint32_t start) const;

    const TDictFiles& Files;
    std::string DictPath, DictName;
    std::size_t Count = 0, Skipped = 0;
    THeadwordIndex Index;
    std::unique_ptr<TDictData> Data;
};

bool TDictd::Open(std::string& error) {
    const std::string base = DictPath.substr(0, DictPath.size() - 6);
    const std::string dataPath = Files.Open(base + ".dict") ? base + ".dict" : base + ".dict.dz";
    Data = TDictData::Open(Files, dataPath, error);
    if (!Data)
        return false;
    std::string bytes;
    if (!ReadWholeFile(Files, DictPath, MaxIndexSize, bytes)) {
        error = "The .index file cannot be read.";
        return false;
    }
    if (bytes.empty()) {
        error = "The .index file is empty.";
        return false;
    }
    if (bytes.back() != '\n') {
        error = "The index ends within a line (cut off?).";
        return false;
    }
    if (!IsUtf8(bytes)) {
        error = "Text that is not UTF-8 is in the index.";
        return false;
    }

    // First every line checked and the order found, then the lines entered in that order's terms.
    THeadwordOrder order = THeadwordOrder::DictdDefault;
    std::uint32_t nameStart = 0;
    bool hasName = false;
    const std::string_view all(bytes);
    TIndexLine line;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find('\n', at);
        const char* reason = nullptr;
        if (!SplitLine(all.substr(at, end - at), line, reason)) {
            error = reason;
            return false;
        }
        if (line.Offset > Data->Size() || line.Length > Data->Size() - line.Offset) {
            error = "An entry of the index lies beyond the end of the definitions.";
            return false;
        }
        if (SaysByteOrder(line.Key))
            order = THeadwordOrder::Bytes;
        if (!hasName && (line.Key == "00-database-short" || line.Key == "00databaseshort")) {
            hasName = true;
            nameStart = static_cast<std::uint32_t>(at);
        }
        // A line without a headword (a few FreeDict indexes begin with some) stays in the index,
        // where no word can match it, and is not counted.
        if (line.Headword().empty())
            ++Skipped;
        else if (!IsInformation(line.Key))
            ++Count;
        at = end + 1;
    }
    Index.Reset(std::move(bytes), order, '\t', -1);
    std::string folded;
    const std::string_view kept(Index.Bytes());
    for (std::size_t at = 0; at < kept.size();) {
        const std::size_t end = kept.find('\n', at);
        const char* reason = nullptr;
        SplitLine(kept.substr(at, end - at), line, reason);
        FoldInto(line.Headword(), folded);
        Index.Add(static_cast<std::uint32_t>(at), line.Key, folded);
        at = end + 1;
    }
    Index.Finish();

    const std::size_t slash = base.find_last_of("/\\");
    DictName = base.substr(slash == std::string::npos ? 0 : slash + 1);
    if (hasName) {
        const TIndexLine name = Line(nameStart);
        std::string text;
        if (!Data->Read(name.Offset, std::min(name.Length, MaxNameLength), text)) {
            error = "The definitions cannot be read.";
            return false;
        }
        const std::string entryName = NameFromEntry(std::move(text));
        if (!entryName.empty())
            DictName = entryName;
    }
    return true;
}

TIndexLine TDictd::Line(std::uint32_t start) const {
    const std::string_view bytes(Index.Bytes());
    const std::size_t end = bytes.find('\n', start);
    TIndexLine line;
    const char* reason = nullptr;
    SplitLine(bytes.substr(start, end - start), line, reason);
    return line;
}

bool TDictd::Lookup(const std::string& word, std::vector<TDictEntry>& entries) const {
    try {
        return LookupEntries(word, entries);
    } catch (const std::exception&) { // out of memory for a huge entry, or a fault of ours: not a crash
        entries.clear();
        return false;
    }
}

bool TDictd::LookupEntries(const std::string& word, std::vector<TDictEntry>& entries) const {
    entries.clear();
    if (word.empty() || word.size() > MaxWordLength)
        return true;
    std::string folded, key;
    FoldInto(word, folded);
    std::vector<std::uint32_t> candidates, starts;
    Index.Find(folded, candidates);
    // The entries of the word as it stands, else of the word in any letter case.
    for (const bool exact : {true, false}) {
        for (const std::uint32_t start : candidates) {
            const TIndexLine line = Line(start);
            if (IsInformation(line.Key) || line.Headword().empty())
                continue;
            if (exact ? line.Headword() == word : (FoldInto(line.Headword(), key), key == folded))
                starts.push_back(start);
        }
        if (!starts.empty())
            break;
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    TDictReading reading(*Data);
    std::string data;
    for (const std::uint32_t start : starts) {
        const TIndexLine line = Line(start);
        if (!reading.Read(line.Offset, line.Length, data)) {
            entries.clear();
            return false;
        }
        entries.push_back({std::string(line.Headword()), MarkBracedLinks(TrimBlanks(WellFormedUtf8(data)))});
    }
    return true;
}

void TDictd::CloseHeadwords(const std::string& word, std::size_t limit, std::vector<std::string>& edits,
                            std::vector<std::string>& longer) const {
    std::string folded;
    FoldInto(word, folded);
    std::vector<std::uint32_t> editStarts, longerStarts;
    Index.Close(folded, limit, editStarts, longerStarts);
    for (const auto& [starts, words] :
         {std::make_pair(&editStarts, &edits), std::make_pair(&longerStarts, &longer)})
        for (const std::uint32_t start : *starts) {
            const TIndexLine line = Line(start);
            if (!IsInformation(line.Key))
                words->emplace_back(line.Headword());
        }
}

} // namespace

std::unique_ptr<TDictionary> OpenDictd(const TDictFiles& files, const std::string& path, std::string& error) {
    auto dictionary = std::make_unique<TDictd>(files, path);
    if (!dictionary->Open(error))
        return nullptr;
    return dictionary;
}
