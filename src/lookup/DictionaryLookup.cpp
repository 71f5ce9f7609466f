// The user's dictionaries in a lookup: when at least one is listed, a word is looked for in them
// before any web page is opened, and what they have is shown in the answer window beside the word.
// The stored list is read at every lookup (a few registry values, nothing beside a lookup), so a
// change saved on the Dictionaries page counts from the next lookup on.
#include "LookupEngine.h"

#include "AnswerFrm.h"
#include "LookupText.h"
#include "Settings.h"
#include "UnicodeText.h"

#include <utility>

namespace {

std::vector<std::string> ListedDictionaries() {
    std::vector<std::string> paths;
    for (const std::wstring& path : ASettings::GetDictionaries())
        paths.push_back(Utf8FromUtf16(path));
    return paths;
}

std::string FileName(const std::string& path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

void TLookupEngine::OpenDictionaries(unsigned delayMs, TDictionaryShelf::TOpened opened) {
    Shelf.Open(ListedDictionaries(), delayMs, std::move(opened));
}

std::vector<TDictionaryAnswer> TLookupEngine::SearchDictionaries(const std::string& word,
                                                                 std::vector<std::string>& unreadable) {
    std::vector<TDictionaryAnswer> answers;
    const std::shared_ptr<const TDictionaryShelf::TItems> items = Shelf.Wait(DictionaryWaitMs);
    if (!items)
        return answers;
    for (const TDictionaryShelf::TItem& item : *items) {
        std::vector<TDictEntry> entries;
        bool read = false;
        try {
            read = item.Dictionary && item.Dictionary->Lookup(word, entries);
        } catch (const std::exception&) {
            // One dictionary's trouble (memory for a huge entry) is not the others'.
        }
        if (!read)
            unreadable.push_back(item.Path);
        else if (!entries.empty())
            answers.push_back({item.Dictionary->Name(), std::move(entries)});
    }
    return answers;
}

bool TLookupEngine::LookupInDictionaries(HWND source, bool sayNotFound) {
    const std::vector<std::string> paths = ListedDictionaries();
    if (paths.empty())
        return false;
    Shelf.Open(paths);
    const std::string word = DictionaryWord(LookupText);
    // A whole paragraph is no headword: it goes to the web link unsearched.
    const bool isWord = !word.empty() && word.size() <= MaxDictionaryWord;
    std::vector<std::string> unreadable;
    const std::vector<TDictionaryAnswer> answers =
        isWord ? SearchDictionaries(word, unreadable) : std::vector<TDictionaryAnswer>();
    if (answers.empty() && !sayNotFound)
        return false; // the files that could not be read are said in the next window shown

    std::vector<std::string> notices;
    if (isWord) {
        // A file that reads again may be said again when it fails another time.
        const std::set<std::string> failed(unreadable.begin(), unreadable.end());
        for (auto told = ToldUnreadable.begin(); told != ToldUnreadable.end();)
            told = failed.count(*told) ? std::next(told) : ToldUnreadable.erase(told);
        for (const std::string& path : unreadable)
            if (ToldUnreadable.insert(path).second)
                notices.push_back(UnreadableNotice(FileName(path)));
    }
    const std::string shownWord = word.empty() ? LookupText : word;
    if (answers.empty())
        notices.push_back(NotFoundNotice(shownWord));

    const TAnswer answer{shownWord, AnswerParagraphs(notices, answers), ASettings::GetDefaultLink()};
    // The buttons act on this answer's text, whatever LookupText holds by the time they are pressed.
    const std::string text = LookupText;
    return TAnswerForm::ShowAnswer(
               Instance, answer, source,
               [this, text] {
                   LookupText = text;
                   LookupOnWebLink(ASettings::GetDefaultLink());
               },
               [this, text] {
                   LookupText = text;
                   ShowWebLinksMenu();
               }) != nullptr;
}

void TLookupEngine::LookupWordFirstInDictionaries(HWND source) {
    if (!LookupInDictionaries(source, false))
        LookupOnWebLink(ASettings::GetDefaultLink());
}

void TLookupEngine::DictionariesMenuItemClick() {
    const HWND source = MenuForegroundWindow;
    // The answer window takes the foreground; it is not given back to the source now.
    MenuForegroundWindow = nullptr;
    if (!LookupInDictionaries(source, true) && source)
        SetForegroundWindow(source);
}
