// The dictionaries that Quick Lookup looks in first, as the user edits them on the Dictionaries
// page: full paths of .ifo, .index or Hunspell .dic files in the order of the answers, each listed once (letter
// case ignored, as Windows compares paths), with the name and headword count that opening the file
// gave. Needs no Win32; the page gives it the files through TDictionaryFiles and only mirrors the
// list in its controls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What opening a dictionary told: its own name (UTF-8) and number of headwords, or why it cannot
// be read (a sentence for the user).
struct TDictionaryFacts {
    bool Readable = false;
    std::string Name;
    std::size_t HeadwordCount = 0;
    std::string Error;
};

// Whether a file has changed since it was last opened, told without opening it.
struct TFileStamp {
    std::uint64_t Size = 0;
    std::uint64_t WriteTime = 0;
    bool operator==(const TFileStamp& other) const {
        return Size == other.Size && WriteTime == other.WriteTime;
    }
};

// The files as the page reaches them: the real ones in the program, made-up ones in tests.
class TDictionaryFiles {
public:
    virtual ~TDictionaryFiles() = default;
    // False when there is no file to read at the path (moved, deleted, out of reach).
    virtual bool Stamp(const std::wstring& path, TFileStamp& stamp) = 0;
    virtual TDictionaryFacts Open(const std::wstring& path) = 0;
};

struct TListedDictionary {
    std::wstring Path;
    bool Described = false; // looked at since the list was assigned
    bool Missing = false;   // and found unreadable then; it stays listed until removed
    std::string Name;
    std::size_t HeadwordCount = 0;
};

struct TDictionaryRefusal {
    std::wstring Path;
    std::string Error;
};

struct TDictionaryAddResult {
    int Added = 0;
    int TooMany = 0; // readable, but the list was full
    std::vector<TDictionaryRefusal> Refused;
};

class TWorkingDictionaries {
public:
    explicit TWorkingDictionaries(std::size_t most) : Most(most) {}

    // Replaces the list with stored paths, none described yet: empty ones and repeats left out, at
    // most `most`. What was read of the files before is kept.
    void Assign(const std::vector<std::wstring>& paths);
    // Describes every entry not described yet. A file opened before and unchanged since is not
    // opened again; one that is gone or cannot be read is missing.
    void Describe(TDictionaryFiles& files);
    // Appends the paths that are not listed yet and open as dictionaries, in their order; the
    // others are refused with what is wrong with them.
    TDictionaryAddResult Add(const std::vector<std::wstring>& paths, TDictionaryFiles& files);
    // Indices outside the list are ignored.
    void Remove(int index);
    bool CanMove(int index, int delta) const;
    // Swaps the entry with its neighbour (delta -1 or +1); false when that would leave the list.
    bool Move(int index, int delta);

    const std::vector<TListedDictionary>& Entries() const { return Items; }
    std::vector<std::wstring> Paths() const;

private:
    bool Listed(const std::string& key) const;
    TDictionaryFacts Read(const std::wstring& path, TDictionaryFiles& files);

    struct TOpened {
        std::string Key;
        TFileStamp Stamp;
        TDictionaryFacts Facts;
    };
    std::size_t Most;
    std::vector<TListedDictionary> Items;
    std::vector<std::string> Keys; // the entries' paths as compared
    std::vector<TOpened> Opened;   // the files opened before, newest last
};

// A path as Windows compares it: letter case ignored, "/" taken for "\". UTF-8.
std::string DictionaryPathKey(const std::wstring& path);
