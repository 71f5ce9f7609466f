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

std::size_t THeadwordIndex::MemoryUse() const {
    return IndexBytes.capacity() + Samples.capacity() * sizeof(std::uint32_t) +
           Order.capacity() * sizeof(std::uint32_t) + Cased.capacity() * sizeof(Cased[0]);
}
