// The search: a binary search in the file's own order over entries reached from every 16th
// entry's start, then the neighbours with an equal key. Entries whose case the order keeps apart
// are found by their folded headword's hash instead.
#include "dict/HeadwordIndex.h"

#include <algorithm>
#include <cstring>

#include "common/UnicodeText.h"

namespace {

constexpr std::size_t SampleStep = 16;

// The next byte of a key in the order's terms, or -1 at its end.
class TKeyBytes {
public:
    TKeyBytes(THeadwordOrder order, std::string_view key) : Order(order), Key(key) {}
    int Next() {
        while (At < Key.size()) {
            unsigned char c = static_cast<unsigned char>(Key[At++]);
            if (Order != THeadwordOrder::Bytes && c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c + 32);
            if (Order == THeadwordOrder::DictdDefault &&
                !(c >= 0x80 || c == ' ' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')))
                continue;
            return c;
        }
        return -1;
    }

private:
    THeadwordOrder Order;
    std::string_view Key;
    std::size_t At = 0;
};

} // namespace

std::string KeyInOrder(THeadwordOrder order, std::string_view key) {
    std::string bytes;
    bytes.reserve(key.size());
    TKeyBytes next(order, key);
    for (int c; (c = next.Next()) >= 0;)
        bytes += static_cast<char>(c);
    return bytes;
}

int CompareKeys(THeadwordOrder order, std::string_view a, std::string_view b) {
    if (order == THeadwordOrder::Bytes) {
        const int result = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
        return result != 0 ? result : a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    }
    TKeyBytes left(order, a), right(order, b);
    for (;;) {
        const int x = left.Next(), y = right.Next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

void FoldInto(std::string_view text, std::string& folded) {
    folded.assign(text);
    bool ascii = true;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    }
    if (!ascii)
        folded = FoldCase(folded);
}

std::uint32_t FoldedHash(std::string_view folded) {
    std::uint32_t hash = 2166136261u;
    for (const char c : folded)
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

std::string_view WithoutEndBlanks(std::string_view headword) {
    const std::size_t first = headword.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return std::string_view();
    return headword.substr(first, headword.find_last_not_of(" \t") - first + 1);
}

void THeadwordIndex::Reset(std::string bytes, THeadwordOrder order, char keyEnd, int tail) {
    IndexBytes = std::move(bytes);
    KeyOrder = order;
    KeyEnd = keyEnd;
    Tail = tail;
    EntryCount = 0;
    Samples.clear();
    Order.clear();
    Cased.clear();
}

void THeadwordIndex::Add(std::uint32_t start, std::string_view key, std::string_view folded) {
    if (EntryCount % SampleStep == 0)
        Samples.push_back(start);
    ++EntryCount;
    if (CompareKeys(KeyOrder, key, folded) != 0)
        Cased.emplace_back(FoldedHash(folded), start);
}

void THeadwordIndex::Finish() {
    std::sort(Cased.begin(), Cased.end());
    Cased.shrink_to_fit();
    Samples.shrink_to_fit();
    bool sorted = true;
    std::uint32_t previous = EntryCount > 0 ? Start(0) : 0;
    for (std::size_t rank = 1; rank < EntryCount && sorted; ++rank) {
        const std::uint32_t start = Next(previous);
        sorted = CompareKeys(KeyOrder, Key(previous), Key(start)) <= 0;
        previous = start;
    }
    if (sorted)
        return;
    Order.reserve(EntryCount);
    for (std::uint32_t rank = 0, start = EntryCount > 0 ? Start(0) : 0; rank < EntryCount;
         ++rank, start = Next(start))
        Order.push_back(start);
    std::stable_sort(Order.begin(), Order.end(), [this](std::uint32_t a, std::uint32_t b) {
        return CompareKeys(KeyOrder, Key(a), Key(b)) < 0;
    });
}

std::uint32_t THeadwordIndex::Next(std::uint32_t start) const {
    const std::size_t end = IndexBytes.find(KeyEnd, start);
    if (end == std::string::npos)
        return static_cast<std::uint32_t>(IndexBytes.size());
    std::size_t next = end + 1 + static_cast<std::size_t>(Tail);
    if (Tail < 0) {
        const std::size_t lineEnd = IndexBytes.find('\n', end);
        next = lineEnd == std::string::npos ? IndexBytes.size() : lineEnd + 1;
    }
    return static_cast<std::uint32_t>(std::min(next, IndexBytes.size()));
}

std::uint32_t THeadwordIndex::Start(std::size_t rank) const {
    std::uint32_t start = Samples[rank / SampleStep];
    for (std::size_t i = rank % SampleStep; i > 0; --i)
        start = Next(start);
    return start;
}

std::string_view THeadwordIndex::Key(std::uint32_t start) const {
    const std::size_t end = IndexBytes.find(KeyEnd, start);
    const std::string_view bytes(IndexBytes);
    return bytes.substr(start, (end == std::string::npos ? IndexBytes.size() : end) - start);
}

void THeadwordIndex::Find(std::string_view folded, std::vector<std::uint32_t>& starts) const {
    std::size_t low = 0, high = EntryCount;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CompareKeys(KeyOrder, Key(SearchStart(middle)), folded) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    for (std::size_t rank = low; rank < EntryCount; ++rank) {
        const std::uint32_t start = SearchStart(rank);
        if (CompareKeys(KeyOrder, Key(start), folded) != 0)
            break;
        starts.push_back(start);
    }
    const std::uint32_t hash = FoldedHash(folded);
    auto cased = std::lower_bound(Cased.begin(), Cased.end(), std::make_pair(hash, std::uint32_t{0}));
    for (; cased != Cased.end() && cased->first == hash; ++cased)
        starts.push_back(cased->second);
}

namespace {

// An entry's key against bytes already in the order's terms, taken as they are: a byte past the
// end of a prefix ("z" + 1) may be one that the order would leave out of a key.
int CompareWithOrdered(THeadwordOrder order, std::string_view key, std::string_view ordered) {
    TKeyBytes left(order, key);
    for (std::size_t i = 0;; ++i) {
        const int x = left.Next(), y = i < ordered.size() ? static_cast<unsigned char>(ordered[i]) : -1;
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

} // namespace

std::size_t THeadwordIndex::LowerBound(std::string_view key, std::size_t low, std::size_t high) const {
    if (Order.empty()) {
        // In a file in its order, a rank that is a multiple of the sample step is reached without
        // a walk: halve on those, then walk the last few entries once.
        while (high - low > SampleStep) {
            std::size_t middle = (low + (high - low) / 2) / SampleStep * SampleStep;
            if (middle <= low)
                middle = low + (high - low) / 2;
            if (CompareWithOrdered(KeyOrder, Key(Start(middle)), key) < 0)
                low = middle + 1;
            else
                high = middle;
        }
        for (std::uint32_t start = low < high ? Start(low) : 0; low < high; ++low, start = Next(start))
            if (CompareWithOrdered(KeyOrder, Key(start), key) >= 0)
                break;
        return low;
    }
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (CompareWithOrdered(KeyOrder, Key(SearchStart(middle)), key) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

std::string THeadwordIndex::OrderKey(std::size_t rank) const {
    return KeyInOrder(KeyOrder, Key(SearchStart(rank)));
}

// The key's characters are UTF-8; a change replaces a whole character. Every prefix of the word
// has a range in the sorted entries; in it, the characters that follow the prefix are visited one
// each by a jump past all keys that share it, so that the work grows with the number of different
// characters, not of entries.
void THeadwordIndex::Close(std::string_view folded, std::size_t limit, std::vector<std::uint32_t>& edits,
                           std::vector<std::uint32_t>& longer) const {
    const std::string word = KeyInOrder(KeyOrder, folded);
    if (word.empty() || limit == 0)
        return;
    std::vector<std::size_t> at; // the start of each character, and the end
    for (std::size_t i = 0; i < word.size(); ++i)
        if ((static_cast<unsigned char>(word[i]) & 0xC0) != 0x80)
            at.push_back(i);
    at.push_back(word.size());
    const std::size_t characters = at.size() - 1;
    std::vector<std::uint32_t> found;
    const auto exact = [&](const std::string& key, std::size_t low, std::size_t high) {
        if (key == word || key.empty())
            return;
        for (std::size_t rank = LowerBound(key, low, high); rank < high && found.size() < 4 * limit; ++rank) {
            if (CompareWithOrdered(KeyOrder, Key(SearchStart(rank)), key) != 0)
                break;
            found.push_back(SearchStart(rank));
        }
    };
    for (std::size_t k = 0; k < characters; ++k) {
        const std::string_view before = std::string_view(word).substr(0, at[k]),
                               self = std::string_view(word).substr(at[k], at[k + 1] - at[k]),
                               after = std::string_view(word).substr(at[k + 1]);
        exact(std::string(before) + std::string(after), 0, EntryCount);
        if (k + 1 < characters) {
            const std::string_view next = after.substr(0, at[k + 2] - at[k + 1]);
            if (next != self)
                exact(std::string(before) + std::string(next) + std::string(self) +
                          std::string(after.substr(next.size())),
                      0, EntryCount);
        }
    }
    for (std::size_t k = 0; k <= characters; ++k) {
        const std::string prefix = word.substr(0, at[k]);
        const std::string rest = word.substr(at[k]),
                          changedRest = k < characters ? word.substr(at[k + 1]) : "";
        std::size_t rank = LowerBound(prefix, 0, EntryCount);
        const std::size_t end = prefix.empty() ? EntryCount : LowerBound(prefix + '\xFF', rank, EntryCount);
        while (rank < end && found.size() < 4 * limit) {
            const std::string key = OrderKey(rank);
            if (key.size() <= prefix.size()) {
                ++rank;
                continue;
            }
            std::size_t length = 1;
            while (prefix.size() + length < key.size() &&
                   (static_cast<unsigned char>(key[prefix.size() + length]) & 0xC0) == 0x80)
                ++length;
            std::string next = key.substr(0, prefix.size() + length);
            std::string past = next;
            past.back() = static_cast<char>(static_cast<unsigned char>(past.back()) + 1);
            const std::size_t stop =
                static_cast<unsigned char>(next.back()) == 0xFF ? end : LowerBound(past, rank, end);
            if (k < characters)
                exact(next + changedRest, rank, stop);
            exact(next + rest, rank, stop);
            rank = std::max(stop, rank + 1);
        }
    }
    std::sort(found.begin(), found.end(), [this](std::uint32_t a, std::uint32_t b) {
        const int order = CompareKeys(KeyOrder, Key(a), Key(b));
        return order != 0 ? order < 0 : a < b;
    });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    edits.insert(edits.end(), found.begin(),
                 found.begin() + static_cast<std::ptrdiff_t>(std::min(limit, found.size())));
    for (std::size_t rank = LowerBound(word, 0, EntryCount); rank < EntryCount && longer.size() < limit;
         ++rank) {
        const std::string key = OrderKey(rank);
        if (key.compare(0, word.size(), word) != 0)
            break;
        if (key.size() > word.size())
            longer.push_back(SearchStart(rank));
    }
}

std::size_t THeadwordIndex::MemoryUse() const {
    return IndexBytes.capacity() + Samples.capacity() * sizeof(std::uint32_t) +
           Order.capacity() * sizeof(std::uint32_t) + Cased.capacity() * sizeof(Cased[0]);
}
