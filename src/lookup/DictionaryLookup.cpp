// The user's dictionaries in a lookup: when at least one is listed, a word is looked for in them
// before any web page is opened, and what they have is shown in the answer window beside the word.
// The stored list is read at every lookup (a few registry values, nothing beside a lookup), so a
// change saved on the Dictionaries page counts from the next lookup on.
#include "LookupEngine.h"

#include "AnswerFrm.h"
#include "EnglishFormsRes.h"
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
    const std::vector<std::string> paths = ListedDictionaries();
    Shelf.Open(paths, delayMs, std::move(opened));
    if (!paths.empty())
        PrepareEnglishForms();
}

void TLookupEngine::PrepareEnglishForms() {
    if (Forms.valid())
        return;
    // A resource lives as long as its module: nothing to release. The lists are parsed (about
    // 2 ms) on a thread of their own, so that neither the start nor the first lookup waits for it.
    std::string text;
    if (const HRSRC found = FindResourceA(Instance, MAKEINTRESOURCEA(IDR_ENGLISHFORMS), RT_RCDATA))
        if (const HGLOBAL loaded = LoadResource(Instance, found))
            if (const void* bytes = LockResource(loaded))
                text.assign(static_cast<const char*>(bytes), SizeofResource(Instance, found));
    Forms = std::async(std::launch::async, [text = std::move(text)]() mutable {
        try {
            return std::make_shared<const TEnglishForms>(std::move(text));
        } catch (const std::exception&) { // out of memory: the rules alone
            return std::make_shared<const TEnglishForms>();
        }
    });
}

const TEnglishForms& TLookupEngine::EnglishForms() {
    PrepareEnglishForms();
    return *Forms.get();
}

TWordSearch TLookupEngine::SearchDictionaries(const std::string& word) {
    const std::shared_ptr<const TDictionaryShelf::TItems> items = Shelf.Wait(DictionaryWaitMs);
    if (!items)
        return TWordSearch();
    return SearchWord(*items, word, EnglishForms());
}

std::vector<std::string> TLookupEngine::CloseWords(const std::string& word) {
    std::vector<std::string> edits, longer;
    const std::shared_ptr<const TDictionaryShelf::TItems> items = Shelf.Wait(DictionaryWaitMs);
    for (const TDictionaryShelf::TItem& item : items ? *items : TDictionaryShelf::TItems()) {
        try {
            if (item.Dictionary)
                item.Dictionary->CloseHeadwords(word, MaxCloseWords, edits, longer);
        } catch (const std::exception&) {
            // Close words are a help; one dictionary's trouble leaves the others'.
        }
    }
    return MergeCloseWords(edits, longer, MaxCloseWords);
}

bool TLookupEngine::LookupInDictionaries(HWND source, bool sayNotFound) {
    const std::vector<std::string> paths = ListedDictionaries();
    if (paths.empty())
        return false;
    Shelf.Open(paths);
    const std::string word = DictionaryWord(LookupText);
    // A whole paragraph is no headword: it goes to the web link unsearched.
    const bool isWord = !word.empty() && word.size() <= MaxDictionaryWord;
    const TWordSearch search = isWord ? SearchDictionaries(word) : TWordSearch();
    const std::vector<TDictionaryAnswer>& answers = search.Answers;
    const std::vector<std::string>& unreadable = search.Unreadable;
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
    std::vector<std::string> closeWords;
    if (answers.empty()) {
        notices.push_back(NotFoundNotice(shownWord));
        if (isWord)
            closeWords = CloseWords(word);
    } else if (!search.Forms.empty()) {
        notices.push_back(FormsNotice(shownWord, search.Forms));
    }

    const TAnswer answer{shownWord, AnswerParagraphs(notices, answers, closeWords),
                         ASettings::GetDefaultLink()};
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
               },
               [this](const std::string& followed) {
                   // Found as any lookup is, shown in the window that asked, even when none has it.
                   LookupText = followed;
                   LookupInDictionaries(TAnswerForm::Current(), true);
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
