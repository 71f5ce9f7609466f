#include "DictionaryShelf.h"

#include <chrono>
#include <system_error>

namespace {

// The thread's whole work: it must not let an exception out.
std::shared_ptr<const TDictionaryShelf::TItems> OpenAll(std::vector<std::string> paths,
                                                        std::shared_ptr<const TDictionaryShelf::TItems> open,
                                                        std::shared_ptr<TDictionaryShelf::TStart> start,
                                                        unsigned delayMs, TDictionaryShelf::TOpened opened) {
    auto items = std::make_shared<TDictionaryShelf::TItems>();
    try {
        if (start && delayMs) {
            std::unique_lock<std::mutex> lock(start->Lock);
            start->Changed.wait_for(lock, std::chrono::milliseconds(delayMs), [&] { return start->Now; });
        }
        for (const std::string& path : paths) {
            TDictionaryShelf::TItem item{path, nullptr, std::string()};
            if (open)
                for (const TDictionaryShelf::TItem& known : *open)
                    if (known.Path == path && known.Dictionary)
                        item.Dictionary = known.Dictionary;
            if (!item.Dictionary) {
                try {
                    item.Dictionary = TDictionary::Open(path, item.Error);
                } catch (const std::exception& error) {
                    item.Error = error.what();
                }
                if (!item.Dictionary && item.Error.empty())
                    item.Error = "The dictionary could not be opened.";
            }
            items->push_back(std::move(item));
        }
    } catch (...) {
        // Out of memory: the dictionaries opened so far are all there is.
    }
    if (opened)
        opened(*items);
    return items;
}

} // namespace

TDictionaryShelf::~TDictionaryShelf() {
    StartNow();
    if (Opening.valid())
        Opening.wait();
}

void TDictionaryShelf::StartNow() {
    if (!Start)
        return;
    {
        std::lock_guard<std::mutex> lock(Start->Lock);
        Start->Now = true;
    }
    Start->Changed.notify_all();
}

void TDictionaryShelf::Open(const std::vector<std::string>& paths, unsigned delayMs, TOpened opened) {
    if (Listed && paths == ListedPaths)
        return;
    // A change of the list while the previous one is still being opened is rare (two saves within a
    // moment); its dictionaries are worth keeping, so it is waited for.
    if (Opening.valid()) {
        StartNow();
        Ready = Opening.get();
    }
    ListedPaths = paths;
    Listed = true;
    Start = std::make_shared<TStart>();
    try {
        Opening = std::async(std::launch::async, OpenAll, paths, Ready, Start, delayMs, opened);
    } catch (const std::system_error&) {
        // No thread to be had: opened here, late rather than never.
        Ready = OpenAll(paths, Ready, nullptr, 0, opened);
    }
}

std::shared_ptr<const TDictionaryShelf::TItems> TDictionaryShelf::Wait(unsigned milliseconds) {
    if (Opening.valid()) {
        StartNow();
        if (Opening.wait_for(std::chrono::milliseconds(milliseconds)) != std::future_status::ready)
            return nullptr;
        Ready = Opening.get();
    }
    return Listed ? Ready : nullptr;
}
