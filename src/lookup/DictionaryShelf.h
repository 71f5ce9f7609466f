// TDictionaryShelf: the user's dictionaries, open. They are opened on a thread of their own, so that
// reading the indexes of large dictionaries delays neither the program's start nor its hot keys; a
// lookup that comes first waits for them, bounded. Needs no Win32.
#pragma once

#include <condition_variable>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dict/Dictionary.h"

class TDictionaryShelf {
public:
    // A listed dictionary: open, or the reason it could not be opened.
    struct TItem {
        std::string Path; // UTF-8, as listed
        std::shared_ptr<const TDictionary> Dictionary;
        std::string Error;
    };
    using TItems = std::vector<TItem>;
    // Told on the opening's thread what the opening gave, before a lookup gets it; must not raise.
    using TOpened = std::function<void(const TItems&)>;

    TDictionaryShelf() = default;
    TDictionaryShelf(const TDictionaryShelf&) = delete;
    TDictionaryShelf& operator=(const TDictionaryShelf&) = delete;
    // Waits for an opening that is still under way: its thread reads files it must not outlive.
    ~TDictionaryShelf();

    // Starts opening the listed dictionaries, in their order, unless that list is open or being
    // opened already. Dictionaries open under the same path are kept, not read again; those that
    // failed are tried again. The opening begins after `delayMs`, or as soon as a lookup waits;
    // `opened` is told what it gave.
    void Open(const std::vector<std::string>& paths, unsigned delayMs = 0, TOpened opened = {});
    // The dictionaries of the last Open once they are all open (or failed), waiting for that at
    // most `milliseconds`; null when they are not ready by then or nothing was ever opened.
    std::shared_ptr<const TItems> Wait(unsigned milliseconds);
    const std::vector<std::string>& Paths() const { return ListedPaths; }

    // Tells an opening that waits for its delay to begin now.
    struct TStart {
        std::mutex Lock;
        std::condition_variable Changed;
        bool Now = false;
    };

private:
    void StartNow();

    std::vector<std::string> ListedPaths;
    std::shared_ptr<TStart> Start;
    bool Listed = false;
    std::future<std::shared_ptr<const TItems>> Opening;
    std::shared_ptr<const TItems> Ready;
};
