// An index's entries kept as the index file's own bytes, searched in the order the file is sorted
// in. Kept per entry: nothing but every 16th entry's start, a permutation only when the file is
// not in its order, and for the few entries whose letter case the order does not bring together
// (capitals outside ASCII, or any capital where case counts) the hash of their folded headword.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class THeadwordOrder {
    AsciiNoCase,  // StarDict: A-Z folded, other bytes as unsigned
    DictdDefault, // dictd: only letters, digits and spaces, A-Z folded, bytes >= 0x80 as letters
    Bytes,        // plain unsigned bytes
};

int CompareKeys(THeadwordOrder order, std::string_view a, std::string_view b);
// The bytes of `key` that the order compares (letters folded, others left out), in which plain
// byte comparison is the order's.
std::string KeyInOrder(THeadwordOrder order, std::string_view key);
// The letter case of `text` folded, ASCII without allocating a second time.
void FoldInto(std::string_view text, std::string& folded);
std::uint32_t FoldedHash(std::string_view folded);
// A headword as it is found and shown: without the blanks that some indexes keep at its ends.
std::string_view WithoutEndBlanks(std::string_view headword);

class THeadwordIndex {
public:
    // `keyEnd` ends each entry's headword; then `tail` bytes end the entry, or, when `tail` is
    // negative, everything up to and including the next LF does.
    void Reset(std::string bytes, THeadwordOrder order, char keyEnd, int tail);
    // The entries in file order, as the reader has checked them. `folded` is the entry's display
    // headword with its case folded; `key` its search key in the file.
    void Add(std::uint32_t start, std::string_view key, std::string_view folded);
    // After the last Add: puts the entries in search order when the file is not.
    void Finish();

    const std::string& Bytes() const { return IndexBytes; }
    std::size_t Count() const { return EntryCount; }
    bool Sorted() const { return Order.empty(); }
    std::size_t CasedCount() const { return Cased.size(); }
    // Start of the entry at `rank` in file order.
    std::uint32_t Start(std::size_t rank) const;
    std::string_view Key(std::uint32_t start) const;
    // Starts of the entries that may have `folded` (a word with its case folded) as folded
    // headword: those equal to it in the file's order and the cased ones of its hash. The caller
    // compares each; the starts may repeat.
    void Find(std::string_view folded, std::vector<std::uint32_t>& starts) const;
    // Starts of the entries whose keys are one character added, dropped, changed or two swapped
    // away from `folded` in the file's order (`edits`), and of those that begin with it (`longer`),
    // at most `limit` of each; each found by binary searches over the ranges of its prefixes.
    void Close(std::string_view folded, std::size_t limit, std::vector<std::uint32_t>& edits,
               std::vector<std::uint32_t>& longer) const;
    std::size_t MemoryUse() const;

private:
    // The first rank in [low, high) whose key is not below `key` (a key in the order's own terms).
    std::size_t LowerBound(std::string_view key, std::size_t low, std::size_t high) const;
    std::string OrderKey(std::size_t rank) const;
    std::uint32_t Next(std::uint32_t start) const;
    std::uint32_t SearchStart(std::size_t rank) const { return Order.empty() ? Start(rank) : Order[rank]; }

    std::string IndexBytes;
    THeadwordOrder KeyOrder = THeadwordOrder::Bytes;
    char KeyEnd = '\0';
    int Tail = 0;
    std::size_t EntryCount = 0;
    std::vector<std::uint32_t> Samples;
    std::vector<std::uint32_t> Order;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> Cased; // folded hash, start
};
