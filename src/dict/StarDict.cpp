// StarDict dictionaries: the .ifo describes, the .idx (or .idx.gz) lists headword, offset and
// size of each entry sorted for a binary search, an optional .syn lists synonyms with the number
// of their entry, the .dict (or .dict.dz) holds the entries' fields.
#include <algorithm>
#include <exception>

#include "common/UnicodeText.h"
#include "dict/DictData.h"
#include "dict/DictReaders.h"
#include "dict/HeadwordIndex.h"
#include "dict/MarkupText.h"

namespace {

constexpr std::uint64_t MaxIfoSize = 1 << 20;
constexpr std::uint64_t MaxIndexSize = 0xFFFFFFFFull; // entry starts are 32-bit
constexpr std::size_t MaxHeadwordLength = 255;

std::uint64_t BigEndian(const std::string& bytes, std::size_t at, std::size_t length) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::string Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string();
    const std::size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// A decimal number of the .ifo, or false.
bool ParseCount(const std::string& text, std::uint64_t& value) {
    value = 0;
    if (text.empty() || text.size() > 12)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return true;
}

struct TIfo {
    std::string Version, BookName, SameTypes;
    std::uint64_t WordCount = 0, SynWordCount = 0, IndexSize = 0, OffsetBits = 32;
    bool HasSynWordCount = false;
};

bool ParseIfo(std::string text, TIfo& ifo, std::string& error) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    if (!IsUtf8(text)) {
        error = "Text that is not UTF-8 is in the .ifo file.";
        return false;
    }
    std::vector<std::string> lines;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (lines[0] != "StarDict's dict ifo file") {
        error = "The first line is not that of a StarDict .ifo file.";
        return false;
    }
    bool first = true;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::size_t equals = lines[i].find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trim(std::string_view(lines[i]).substr(0, equals));
        const std::string value = Trim(std::string_view(lines[i]).substr(equals + 1));
        if (first && key != "version") {
            error = "The .ifo file does not give its version first.";
            return false;
        }
        first = false;
        bool number = true;
        if (key == "version")
            ifo.Version = value;
        else if (key == "bookname")
            ifo.BookName = value;
        else if (key == "sametypesequence")
            ifo.SameTypes = value;
        else if (key == "wordcount")
            number = ParseCount(value, ifo.WordCount);
        else if (key == "synwordcount")
            number = ifo.HasSynWordCount = ParseCount(value, ifo.SynWordCount);
        else if (key == "idxfilesize")
            number = ParseCount(value, ifo.IndexSize);
        else if (key == "idxoffsetbits")
            number = ParseCount(value, ifo.OffsetBits);
        if (!number) {
            error = "The .ifo file's " + key + " is not a number.";
            return false;
        }
    }
    if (ifo.Version != "2.4.2" && ifo.Version != "3.0.0") {
        error = ifo.Version.empty() ? "The .ifo file gives no version."
                                    : "The .ifo file is of version " + ifo.Version + ", which is not known.";
        return false;
    }
    if (ifo.BookName.empty()) {
        error = "The .ifo file gives no bookname.";
        return false;
    }
    if (ifo.WordCount == 0 || ifo.WordCount > 0xFFFFFFFFull) {
        error = "The .ifo file's wordcount is missing or out of range.";
        return false;
    }
    if (ifo.IndexSize == 0 || ifo.IndexSize > MaxIndexSize) {
        error = "The .ifo file's idxfilesize is missing or out of range.";
        return false;
    }
    if (ifo.OffsetBits != 32 && !(ifo.OffsetBits == 64 && ifo.Version == "3.0.0")) {
        error = "The .ifo file's idxoffsetbits is not 32 (or 64 with version 3.0.0).";
        return false;
    }
    for (const char c : ifo.SameTypes)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            error = "The .ifo file's sametypesequence holds a character that is not a field type.";
            return false;
        }
    return true;
}

bool Exists(const TDictFiles& files, const std::string& path) {
    return files.Open(path) != nullptr;
}

// The text of one field: plain types as they are, markup as readable text, resources and binary
// data not at all (empty).
std::string FieldText(char type, std::string_view data) {
    switch (type) {
    case 'm':
    case 'l':
    case 't':
    case 'y':
        return WellFormedUtf8(data);
    case 'r':
        return std::string();
    default:
        return type >= 'a' && type <= 'z' ? TextFromMarkup(WellFormedUtf8(data)) : std::string();
    }
}

void AppendField(std::string& text, const std::string& field) {
    const std::string trimmed = TrimBlanks(field);
    if (!trimmed.empty())
        text += (text.empty() ? "" : "\n") + trimmed;
}

class TStarDict : public TDictionary {
public:
    TStarDict(const TDictFiles& files, std::string path) : Files(files), DictPath(std::move(path)) {}
    bool Open(std::string& error);

    const std::string& Name() const override { return BookName; }
    std::size_t HeadwordCount() const override { return Index.Count() - Skipped; }
    const std::string& Path() const override { return DictPath; }
    std::size_t SkippedCount() const override { return Skipped; }
    bool Lookup(const std::string& word, std::vector<TDictEntry>& entries) const override;
    void CloseHeadwords(const std::string& word, std::size_t limit, std::vector<std::string>& edits,
                        std::vector<std::string>& longer) const override;

private:
    bool LookupEntries(const std::string& word, std::vector<TDictEntry>& entries) const;
    bool CheckIndex(std::uint64_t wordCount, std::string& error);
    bool CheckSynonyms(const std::string& path, std::uint64_t count, std::string& error);

    const TDictFiles& Files;
    std::string DictPath, BookName, SameTypes;
    std::size_t OffsetLength = 4, Skipped = 0;
    THeadwordIndex Index, Synonyms;
    std::unique_ptr<TDictData> Data;
};

bool TStarDict::Open(std::string& error) {
    std::string text;
    if (!ReadWholeFile(Files, DictPath, MaxIfoSize, text)) {
        error = "The .ifo file cannot be read.";
        return false;
    }
    TIfo ifo;
    if (!ParseIfo(std::move(text), ifo, error))
        return false;
    BookName = ifo.BookName;
    SameTypes = ifo.SameTypes;
    OffsetLength = ifo.OffsetBits / 8;
    const std::string base = DictPath.substr(0, DictPath.size() - 4);

    const std::string dataPath = Exists(Files, base + ".dict") ? base + ".dict" : base + ".dict.dz";
    Data = TDictData::Open(Files, dataPath, error);
    if (!Data)
        return false;

    std::string bytes;
    if (Exists(Files, base + ".idx")) {
        if (!ReadWholeFile(Files, base + ".idx", MaxIndexSize, bytes)) {
            error = "The .idx file cannot be read.";
            return false;
        }
        if (bytes.size() != ifo.IndexSize) {
            error = bytes.size() < ifo.IndexSize ? "The index is shorter than its idxfilesize."
                                                 : "The index is longer than its idxfilesize.";
            return false;
        }
    } else {
        std::string gzip;
        if (!ReadWholeFile(Files, base + ".idx.gz", MaxIndexSize, gzip)) {
            error = "The index (.idx or .idx.gz) is missing or cannot be read.";
            return false;
        }
        if (!InflateGzip(gzip, ifo.IndexSize, bytes, error))
            return false;
    }
    Index.Reset(std::move(bytes), THeadwordOrder::AsciiNoCase, '\0', static_cast<int>(OffsetLength + 4));
    if (!CheckIndex(ifo.WordCount, error))
        return false;

    const std::string synPath = base + ".syn";
    Synonyms.Reset(std::string(), THeadwordOrder::AsciiNoCase, '\0', 4);
    if (Exists(Files, synPath)) {
        if (!ifo.HasSynWordCount) {
            error = "The .ifo file gives no synwordcount for its .syn file.";
            return false;
        }
        if (!CheckSynonyms(synPath, ifo.WordCount, error))
            return false;
        if (Synonyms.Count() != ifo.SynWordCount) {
            error = Synonyms.Count() < ifo.SynWordCount
                        ? "The .syn file holds fewer synonyms than its synwordcount."
                        : "The .syn file holds more synonyms than its synwordcount.";
            return false;
        }
    }
    Synonyms.Finish();
    return true;
}

bool TStarDict::CheckIndex(std::uint64_t wordCount, std::string& error) {
    const std::string& bytes = Index.Bytes();
    const std::size_t entryTail = OffsetLength + 4;
    std::string folded;
    std::size_t at = 0;
    for (std::uint64_t i = 0; i < wordCount; ++i) {
        const std::size_t end = bytes.find('\0', at);
        if (at >= bytes.size()) {
            error = "The index holds fewer entries than its wordcount.";
            return false;
        }
        if (end == std::string::npos) {
            error = "A headword in the index has no end.";
            return false;
        }
        if (end - at > MaxHeadwordLength) {
            error = "A headword in the index is longer than 255 bytes.";
            return false;
        }
        if (bytes.size() - end - 1 < entryTail) {
            error = "The index ends within an entry.";
            return false;
        }
        const std::uint64_t offset = BigEndian(bytes, end + 1, OffsetLength);
        const std::uint64_t size = BigEndian(bytes, end + 1 + OffsetLength, 4);
        if (offset > Data->Size() || size > Data->Size() - offset) {
            error = "An entry of the index lies beyond the end of the definitions.";
            return false;
        }
        const std::string_view headword = std::string_view(bytes).substr(at, end - at);
        if (!IsUtf8(headword)) {
            error = "Text that is not UTF-8 is in the index.";
            return false;
        }
        // An empty headword stays in the index (synonyms count entries by their place there), where
        // no word can match it, and is not counted.
        Skipped += WithoutEndBlanks(headword).empty() ? 1 : 0;
        FoldInto(WithoutEndBlanks(headword), folded);
        Index.Add(static_cast<std::uint32_t>(at), headword, folded);
        at = end + 1 + entryTail;
    }
    if (at != bytes.size()) {
        error = "The index holds more entries than its wordcount.";
        return false;
    }
    Index.Finish();
    return true;
}

bool TStarDict::CheckSynonyms(const std::string& path, std::uint64_t wordCount, std::string& error) {
    std::string bytes;
    if (!ReadWholeFile(Files, path, MaxIndexSize, bytes)) {
        error = "The .syn file cannot be read.";
        return false;
    }
    Synonyms.Reset(std::move(bytes), THeadwordOrder::AsciiNoCase, '\0', 4);
    const std::string& syn = Synonyms.Bytes();
    std::string folded;
    for (std::size_t at = 0; at < syn.size();) {
        const std::size_t end = syn.find('\0', at);
        if (end == std::string::npos || end - at > MaxHeadwordLength) {
            error = "A synonym in the .syn file has no end.";
            return false;
        }
        if (syn.size() - end - 1 < 4) {
            error = "The .syn file ends within an entry.";
            return false;
        }
        if (BigEndian(syn, end + 1, 4) >= wordCount) {
            error = "A synonym in the .syn file points past the wordcount of the index.";
            return false;
        }
        const std::string_view synonym = std::string_view(syn).substr(at, end - at);
        if (!IsUtf8(synonym)) {
            error = "Text that is not UTF-8 is in the .syn file.";
            return false;
        }
        FoldInto(WithoutEndBlanks(synonym), folded);
        Synonyms.Add(static_cast<std::uint32_t>(at), synonym, folded);
        at = end + 5;
    }
    return true;
}

bool TStarDict::Lookup(const std::string& word, std::vector<TDictEntry>& entries) const {
    try {
        return LookupEntries(word, entries);
    } catch (const std::exception&) { // out of memory for a huge entry, or a fault of ours: not a crash
        entries.clear();
        return false;
    }
}

bool TStarDict::LookupEntries(const std::string& word, std::vector<TDictEntry>& entries) const {
    entries.clear();
    if (word.empty() || word.size() > MaxHeadwordLength)
        return true;
    std::string folded;
    FoldInto(word, folded);
    std::vector<std::uint32_t> direct, synonyms;
    Index.Find(folded, direct);
    Synonyms.Find(folded, synonyms);

    // The entries of the word as it stands, else of the word in any letter case.
    std::vector<std::uint32_t> starts;
    std::string key;
    for (const bool exact : {true, false}) {
        const auto matches = [&](std::string_view candidate) {
            candidate = WithoutEndBlanks(candidate);
            if (candidate.empty())
                return false;
            if (exact)
                return candidate == word;
            FoldInto(candidate, key);
            return key == folded;
        };
        for (const std::uint32_t start : direct)
            if (matches(Index.Key(start)))
                starts.push_back(start);
        for (const std::uint32_t start : synonyms)
            if (matches(Synonyms.Key(start)))
                starts.push_back(
                    Index.Start(BigEndian32(Synonyms.Bytes(), start + Synonyms.Key(start).size() + 1)));
        if (!starts.empty())
            break;
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    const std::string& bytes = Index.Bytes();
    TDictReading reading(*Data);
    std::string data;
    for (const std::uint32_t start : starts) {
        const std::string_view headword = Index.Key(start);
        const std::size_t numbers = start + headword.size() + 1;
        const std::uint64_t offset = BigEndian(bytes, numbers, OffsetLength);
        const std::uint64_t size = BigEndian(bytes, numbers + OffsetLength, 4);
        if (!reading.Read(offset, size, data)) {
            entries.clear();
            return false;
        }
        entries.push_back({std::string(WithoutEndBlanks(headword)), StarDictText(data, SameTypes)});
    }
    return true;
}

void TStarDict::CloseHeadwords(const std::string& word, std::size_t limit, std::vector<std::string>& edits,
                               std::vector<std::string>& longer) const {
    std::string folded;
    FoldInto(word, folded);
    for (const THeadwordIndex* index : {&Index, &Synonyms}) {
        std::vector<std::uint32_t> editStarts, longerStarts;
        index->Close(folded, limit, editStarts, longerStarts);
        for (const std::uint32_t start : editStarts)
            edits.emplace_back(index->Key(start));
        for (const std::uint32_t start : longerStarts)
            longer.emplace_back(index->Key(start));
    }
}

} // namespace

std::string StarDictText(std::string_view data, const std::string& types) {
    std::string text;
    std::size_t at = 0;
    const auto field = [&](char type, bool last) {
        std::string_view bytes;
        if (last) {
            bytes = data.substr(at);
            at = data.size();
        } else if (type >= 'a' && type <= 'z') {
            const std::size_t end = std::min(data.find('\0', at), data.size());
            bytes = data.substr(at, end - at);
            at = std::min(end + 1, data.size());
        } else {
            const std::uint64_t length = data.size() - at >= 4 ? BigEndian32(data, at) : 0;
            at = std::min(at + 4, data.size());
            bytes =
                data.substr(at, static_cast<std::size_t>(std::min<std::uint64_t>(length, data.size() - at)));
            at += bytes.size();
        }
        AppendField(text, FieldText(type, bytes));
    };
    if (types.empty()) {
        while (at < data.size()) {
            const char type = data[at++];
            field(type, false);
        }
    } else {
        for (std::size_t i = 0; i < types.size() && at < data.size(); ++i)
            field(types[i], i + 1 == types.size());
    }
    return text;
}

std::unique_ptr<TDictionary> OpenStarDict(const TDictFiles& files, const std::string& path,
                                          std::string& error) {
    auto dictionary = std::make_unique<TStarDict>(files, path);
    if (!dictionary->Open(error))
        return nullptr;
    return dictionary;
}
