// What the user's dictionaries cost and gain, in one run:
// - the real WL.exe, a word selected in another program and the hot key injected: the time to the
//   answer window shown with WordNet and GCIDE (or WordNet alone) listed, against the time to a stand-in
//   browser merely started with none listed (both contain the copy's 100 ms settle wait), and the time to the
//   browser for a word that no listed dictionary has;
// - the lookup itself inside this process, with the program's own engine: the search of the listed
//   dictionaries for a word, and the search with the answer window made and shown; what the other
//   forms of a word cost, against the same search without them; the close words of a misspelt word
//   against the search that found nothing; the window with long entries at 300 % against 100 %, and
//   an entry of 10,000 links;
// - the program's start-up (until its hook is in place) and its private memory, with the
//   dictionaries listed and without;
// - a Hunspell word list (.dic) among the files: its opening and memory, and its Stems() and German
//   forms found through it against the plain search of a word.
// Usage: DictionaryLatency <runs> <dictionary file>...   (the first two, or one, and any .dic are
// listed for WL.exe)
#include <windows.h>
#include <psapi.h>

#include <fstream>

#include "AnswerFrm.h"
#include "BenchmarkSupport.h"
#include "DictWriter.h"
#include "LookupEngine.h"
#include "Settings.h"
#include "UnicodeText.h"

using namespace TestSupport;

namespace {

using TFigures = std::vector<double>;

// Prints a row of figures in milliseconds, with its ratio to a baseline's median when there is
// one; gives the median.
double Row(const std::string& label, TFigures& figures, int decimals, double baseline = 0) {
    const double median = Median(figures);
    std::printf("  %-46s median %7.*f ms, worst %7.*f ms", label.c_str(), decimals, median, decimals,
                figures.empty() ? 0 : figures.back());
    std::printf(baseline > 0 ? " (%.2fx)\n" : "\n", median / baseline);
    return median;
}

bool AnswerShown() {
    HWND answer = FindWindowW(L"TAnswerForm", nullptr);
    return answer && IsWindowVisible(answer);
}

// The hot key to the answer window shown, then the window closed.
double HotKeyToAnswer(TSelectionHolder& holder, const std::string& word) {
    const double ms = HotKeyTo(holder, word, true, [] { return AnswerShown() ? Counter() : 0; });
    TypeCombo({}, VK_ESCAPE);
    WaitUntil([] { return !AnswerShown(); }, 3000);
    return ms;
}

// The process's private (committed) bytes in MB: its page-file usage, as on Windows; Wine answers
// the extended counters for other processes with zeros.
double PrivateMB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters))
        std::fprintf(stderr, "no memory figures for WL.exe (error %lu)\n", GetLastError());
    return static_cast<double>(counters.PagefileUsage) / 1048576.0;
}

// Headwords spread over a dictd index, to look up.
std::vector<std::string> SampleWords(const std::wstring& index, std::size_t count) {
    std::vector<std::string> all, words;
    std::ifstream file(index.c_str());
    for (std::string line; std::getline(file, line);)
        if (line.compare(0, 3, "00-") != 0 && line.find('\t') != std::string::npos)
            all.push_back(line.substr(0, line.find('\t')));
    for (std::size_t n = 0; n < count && !all.empty(); ++n)
        words.push_back(all[(n * 7919 * 13) % all.size()]);
    return words;
}

bool IsWordList(const std::wstring& path) {
    return path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".dic") == 0;
}

void GermanForms(TLookupEngine& engine, const std::vector<std::wstring>& dictionaries, int runs,
                 double plain) {
    const auto list = std::find_if(dictionaries.begin(), dictionaries.end(), IsWordList);
    if (list == dictionaries.end())
        return;
    std::string error;
    const double before = PrivateMB(GetCurrentProcess());
    const auto forms = TDictionary::Open(Utf8FromUtf16(*list), error);
    const double kept = PrivateMB(GetCurrentProcess()) - before;
    TFigures stems, byForm;
    for (int run = 0; forms && run < runs * 10; ++run)
        for (const char* form : {"Häusern", "Kindern", "Büchern", "Wäldern", "Fenstern", "schönsten"}) {
            long long start = Counter();
            forms->Stems(form);
            stems.push_back(Ms(start));
            start = Counter();
            byForm.push_back(engine.SearchDictionaries(form).Forms.empty() ? 0 : Ms(start));
        }
    std::printf("%s keeps %.1f MB; German forms found through their stems (0 ms: not found):\n",
                forms ? forms->Name().c_str() : error.c_str(), kept);
    Row("the word list's Stems() of a German form:", stems, 3, plain);
    Row("the search, the form found through its stem:", byForm, 3, plain);
}

void InProcessLookups(const std::vector<std::wstring>& dictionaries, int runs) {
    ASettings::SetDictionaries(dictionaries);
    HWND host = CreateTestWindow("DictionaryLatencyHost", DefWindowProcA, "host", WS_POPUP, RECT{0, 0, 1, 1},
                                 nullptr);
    TLookupEngine engine;
    engine.Attach(host, GetModuleHandleA(nullptr));
    const long long opening = Counter();
    engine.OpenDictionaries();
    const std::vector<std::string> unreadable = engine.SearchDictionaries("warm").Unreadable;
    const double opened = Ms(opening);
    for (const std::string& path : unreadable)
        std::printf("  (could not read %s)\n", path.c_str());

    const std::vector<std::string> words = SampleWords(dictionaries[0], static_cast<std::size_t>(runs) * 10);
    TFigures search, shown[2]; // the window made anew, and the open one's content replaced
    std::size_t hits = 0;
    for (const std::string& word : words) {
        const long long start = Counter();
        const bool found = !engine.SearchDictionaries(word).Answers.empty();
        search.push_back(Ms(start));
        hits += found;
    }
    for (std::size_t n = 0; n < words.size(); ++n, PumpMessages(0)) {
        engine.LookupText = words[n];
        if (n % 2 == 0) // every other one in a new window
            TAnswerForm::CloseAll();
        const long long start = Counter();
        const bool found = engine.LookupInDictionaries(nullptr, true);
        if (HWND answer = TAnswerForm::Current())
            UpdateWindow(answer);
        if (found)
            shown[n % 2].push_back(Ms(start));
    }
    TAnswerForm::CloseAll();

    // What a word's forms cost: the search of a plural that only its forms find ("dogs", its word
    // found by the rules) against the search of its word as it stands.
    TFigures asItStands, byForm;
    for (const std::string& word : words) {
        long long start = Counter();
        engine.SearchDictionaries(word);
        const double plain = Ms(start);
        start = Counter();
        if (!engine.SearchDictionaries(word + "s").Forms.empty())
            asItStands.push_back(plain), byForm.push_back(Ms(start));
    }
    // Misspelt words (two letters swapped in the middle) that no dictionary has, nor their forms.
    TFigures notFound, close;
    std::size_t closeFound = 0;
    for (std::string word : words) {
        if (word.size() < 5)
            continue;
        std::swap(word[word.size() / 2], word[word.size() / 2 + 1]);
        long long start = Counter();
        if (!engine.SearchDictionaries(word).Answers.empty())
            continue;
        notFound.push_back(Ms(start));
        start = Counter();
        closeFound += engine.CloseWords(word).size();
        close.push_back(Ms(start));
    }
    // The window made anew for a word at a zoom: GCIDE's long entry at 100 % and 300 %, then an
    // entry of 10,000 links in a dictionary of its own.
    const auto windowFor = [&](const std::string& word, DWORD zoom) {
        RegSetKeyValueA(HKEY_CURRENT_USER, AnswerKey, "Zoom", REG_DWORD, &zoom, sizeof zoom);
        TFigures figures;
        for (int n = 0; n < runs; ++n, PumpMessages(0)) {
            TAnswerForm::CloseAll();
            engine.LookupText = word;
            const long long start = Counter();
            if (engine.LookupInDictionaries(nullptr, true) && UpdateWindow(TAnswerForm::Current()))
                figures.push_back(Ms(start));
        }
        return figures;
    };
    // [WordNet's and GCIDE's "lead", GCIDE's longest "set"][100 %, 300 %]
    TFigures zoomed[2][2] = {{windowFor("lead", 100), windowFor("lead", 300)},
                             {windowFor("set", 100), windowFor("set", 300)}};
    const std::string links = TempFile("links"), base = links.substr(0, links.size() - 4);
    std::string text = "links\n";
    for (int n = 0; n < 10000; ++n)
        text += "{link" + std::to_string(n) + "} ";
    const std::map<std::string, std::string> files = DictWriter::DictdFiles(base, {{"links", "", text}});
    DictWriter::WriteFiles(files);
    ASettings::SetDictionaries({Utf16FromUtf8(base + ".index")});
    TFigures manyLinks = windowFor("links", 100);
    RegDeleteKeyA(HKEY_CURRENT_USER, AnswerKey);
    TAnswerForm::CloseAll();
    for (const auto& file : files)
        DeleteFileA(file.first.c_str());
    DestroyWindow(host);
    std::printf(
        "In this process, %zu dictionaries opened (first lookup waited) in %.0f ms; %zu words, %zu found\n",
        dictionaries.size(), opened, words.size(), hits);
    Row("search of all of them for a word:", search, 3);
    Row("search and answer window made, filled and painted:", shown[0], 2);
    Row("search and the open window's content replaced and painted:", shown[1], 2);
    std::printf("Word forms: %zu plurals that only their forms find\n", byForm.size());
    Row("the word found as it stands:", asItStands, 3);
    Row("its plural, the word found through its forms:", byForm, 3, Median(asItStands));
    GermanForms(engine, dictionaries, runs, Median(search)); // against the plain search's median
    std::printf("Close words: %zu misspelt words, %.1f close words each\n", close.size(),
                close.empty() ? 0.0 : static_cast<double>(closeFound) / static_cast<double>(close.size()));
    const double missed = Row("the search that finds nothing:", notFound, 3);
    Row("the close words in every listed dictionary:", close, 3, missed);
    std::printf("The answer window made for a long entry at 100 %% and 300 %%:\n");
    Row("\"lead\" (WordNet and GCIDE, 15 KB) at 100 %:", zoomed[0][0], 1);
    Row("the same at 300 %:", zoomed[0][1], 1, Median(zoomed[0][0]));
    const double normal = Row("\"set\" (GCIDE's longest, cut at 256 KB) at 100 %:", zoomed[1][0], 1);
    Row("the same at 300 %:", zoomed[1][1], 1, normal);
    Row("an entry of 10,000 links:", manyLinks, 1, normal);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: DictionaryLatency <runs> <dictionary file> [...]\n");
        return 2;
    }
    const int runs = std::max(std::atoi(argv[1]), 1);
    std::vector<std::wstring> all;
    for (int n = 2; n < argc; ++n)
        all.push_back(Utf16FromUtf8(argv[n]));
    std::vector<std::wstring> listed(all.begin(), all.begin() + std::min<std::size_t>(all.size(), 2)), none;
    std::copy_if(all.begin() + static_cast<std::ptrdiff_t>(listed.size()), all.end(),
                 std::back_inserter(listed), IsWordList);

    TSettingsLink link;
    ClearProgramRegistry();
    ASettings::SetEnabled(true);
    const std::string log = TempFile("dictionary-latency");
    SetBrowserCommand("\"" + BuildFile("LatencyBrowser.exe") + "\" \"" + log + "\" \"%1\"");
    TSelectionHolder holder;
    if (!holder.Window()) {
        std::fprintf(stderr, "could not start the selection holder\n");
        return 1;
    }

    TFigures start[2], toBrowser, toAnswer, notFound; // start[1] and memory[1] with the dictionaries
    double memory[2] = {};
    for (int run = 0; run < runs; ++run) {
        const bool listing = run % 2 == 1; // alternated, so that both meet the same machine
        ASettings::SetDictionaries(listing ? listed : none);
        const long long starting = Counter();
        TWordlark app = TWordlark::Start();
        if (!app.Window) {
            std::fprintf(stderr, "WL.exe did not start\n");
            return 1;
        }
        start[listing].push_back(Ms(starting));
        // The first lookup after a start is left out: it may still wait for the dictionaries to open.
        for (int lookup = 0; lookup < 3; ++lookup, PumpMessages(200)) {
            const double answer = listing ? HotKeyToAnswer(holder, "ephemeral") : -1;
            const double browser = HotKeyToBrowser(holder, listing ? "zyzzyvaq" : "ephemeral", log);
            if (lookup > 0 && answer > 0)
                toAnswer.push_back(answer);
            if (lookup > 0 && browser > 0)
                (listing ? notFound : toBrowser).push_back(browser);
        }
        memory[listing] = PrivateMB(app.Process->Handle());
        app.Quit();
    }
    DeleteFileA(log.c_str());

    std::printf("WL.exe, injected hot key (with the %d ms settle wait), %d starts of each kind:\n",
                static_cast<int>(TLookupEngine::SettleWaitMs), (runs + 1) / 2);
    const double browser = Row("none listed, to the browser started:", toBrowser, 1);
    Row(listed.size() == 1 ? "WordNet listed, to the answer shown:"
                           : "WordNet and GCIDE (and word lists) listed, to the answer shown:",
        toAnswer, 1, browser);
    Row("listed, a word none has, to the browser:", notFound, 1, browser);
    const double without = Median(start[0]), with = Median(start[1]);
    std::printf("Start-up until the hook is in place: none listed %.1f ms, listed %.1f ms (%.2fx)\n", without,
                with, without > 0 ? with / without : 0);
    std::printf("Private memory after the lookups: none listed %.1f MB, listed %.1f MB (%+.1f MB)\n",
                memory[0], memory[1], memory[1] - memory[0]);

    InProcessLookups(all, runs);
    ClearProgramRegistry();
    return 0;
}
