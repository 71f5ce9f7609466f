#include "WorkingDictionaries.h"

#include <algorithm>

#include "UnicodeText.h"

std::string DictionaryPathKey(const std::wstring& path) {
    std::string key = FoldCase(Utf8FromUtf16(path.substr(0, path.find(L'\0'))));
    std::replace(key.begin(), key.end(), '/', '\\');
    return key;
}

void TWorkingDictionaries::Assign(const std::vector<std::wstring>& paths) {
    Items.clear();
    Keys.clear();
    for (const std::wstring& stored : paths) {
        const std::wstring path = stored.substr(0, stored.find(L'\0'));
        std::string key = DictionaryPathKey(path);
        if (path.empty() || Listed(key) || Items.size() >= Most)
            continue;
        Items.push_back({path, false, false, {}, 0});
        Keys.push_back(std::move(key));
    }
}

void TWorkingDictionaries::Describe(TDictionaryFiles& files) {
    for (TListedDictionary& entry : Items) {
        if (entry.Described)
            continue;
        const TDictionaryFacts facts = Read(entry.Path, files);
        entry.Described = true;
        entry.Missing = !facts.Readable;
        entry.Name = facts.Name;
        entry.HeadwordCount = facts.HeadwordCount;
    }
}

TDictionaryAddResult TWorkingDictionaries::Add(const std::vector<std::wstring>& paths,
                                               TDictionaryFiles& files) {
    TDictionaryAddResult result;
    for (const std::wstring& path : paths) {
        std::string key = DictionaryPathKey(path);
        if (path.empty() || Listed(key))
            continue;
        const TDictionaryFacts facts = Read(path, files);
        if (!facts.Readable) {
            result.Refused.push_back({path, facts.Error});
        } else if (Items.size() >= Most) {
            ++result.TooMany;
        } else {
            Items.push_back({path, true, false, facts.Name, facts.HeadwordCount});
            Keys.push_back(std::move(key));
            ++result.Added;
        }
    }
    return result;
}

void TWorkingDictionaries::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(Items.size()))
        return;
    Items.erase(Items.begin() + index);
    Keys.erase(Keys.begin() + index);
}

bool TWorkingDictionaries::CanMove(int index, int delta) const {
    const int count = static_cast<int>(Items.size());
    return index >= 0 && index < count && index + delta >= 0 && index + delta < count;
}

bool TWorkingDictionaries::Move(int index, int delta) {
    if (!CanMove(index, delta))
        return false;
    std::swap(Items[static_cast<std::size_t>(index)], Items[static_cast<std::size_t>(index + delta)]);
    std::swap(Keys[static_cast<std::size_t>(index)], Keys[static_cast<std::size_t>(index + delta)]);
    return true;
}

std::vector<std::wstring> TWorkingDictionaries::Paths() const {
    std::vector<std::wstring> paths;
    for (const TListedDictionary& entry : Items)
        paths.push_back(entry.Path);
    return paths;
}

bool TWorkingDictionaries::Listed(const std::string& key) const {
    return std::find(Keys.begin(), Keys.end(), key) != Keys.end();
}

// Opening reads a dictionary's whole index, which for a large one takes a while: a file that
// opened before and has not changed since gives what it gave then. Only what opened is kept, so a
// file that failed is tried again (its companions may have been put right).
TDictionaryFacts TWorkingDictionaries::Read(const std::wstring& path, TDictionaryFiles& files) {
    TFileStamp stamp;
    if (!files.Stamp(path, stamp)) {
        TDictionaryFacts gone;
        gone.Error = "The file is not there.";
        return gone;
    }
    const std::string key = DictionaryPathKey(path);
    auto known =
        std::find_if(Opened.begin(), Opened.end(), [&](const TOpened& item) { return item.Key == key; });
    if (known != Opened.end()) {
        if (known->Stamp == stamp)
            return known->Facts;
        Opened.erase(known);
    }
    TDictionaryFacts facts = files.Open(path);
    if (facts.Readable) {
        // Twice the list's bound: a session of adding and removing stays bounded.
        if (Opened.size() >= 2 * Most)
            Opened.erase(Opened.begin());
        Opened.push_back({key, stamp, facts});
    }
    return facts;
}
