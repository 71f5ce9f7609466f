#include "DictionaryShelf.h"

#include <chrono>
#include <system_error>

namespace {

// The thread's whole work: it must not let an exception out.
std::shared_ptr<const TDictionaryShelf::TItems>
OpenAll(std::vector<std::string> paths, std::shared_ptr<const TDictionaryShelf::TItems> open) {
    auto items = std::make_shared<TDictionaryShelf::TItems>();
    try {
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
    return items;
}

} // namespace

TDictionaryShelf::~TDictionaryShelf() {
    if (Opening.valid())
        Opening.wait();
}

void TDictionaryShelf::Open(const std::vector<std::string>& paths) {
    if (Listed && paths == ListedPaths)
        return;
    // A change of the list while the previous one is still being opened is rare (two saves within a
    // moment); its dictionaries are worth keeping, so it is waited for.
    if (Opening.valid())
        Ready = Opening.get();
    ListedPaths = paths;
    Listed = true;
    try {
        Opening = std::async(std::launch::async, OpenAll, paths, Ready);
    } catch (const std::system_error&) {
        // No thread to be had: opened here, late rather than never.
        Ready = OpenAll(paths, Ready);
    }
}

std::shared_ptr<const TDictionaryShelf::TItems> TDictionaryShelf::Wait(unsigned milliseconds) {
    if (Opening.valid()) {
        if (Opening.wait_for(std::chrono::milliseconds(milliseconds)) != std::future_status::ready)
            return nullptr;
        Ready = Opening.get();
    }
    return Listed ? Ready : nullptr;
}
