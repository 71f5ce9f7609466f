// What the user's dictionaries cost and gain, in one run:
// - the real WL.exe, a word selected in another program and the hot key injected: the time to the
//   answer window shown with WordNet and GCIDE (or WordNet alone) listed, against the time to a stand-in
//   browser merely started with none listed (both contain the copy's 100 ms settle wait), and the time to the
//   browser for a word that no listed dictionary has;
// - the lookup itself inside this process, with the program's own engine: the search of the listed
//   dictionaries for a word, and the search with the answer window made and shown;
// - the program's start-up (until its hook is in place) and its private memory, with the
//   dictionaries listed and without.
// Usage: DictionaryLatency <runs> <dictionary file>...   (the first two, or one, are listed for WL.exe)
#include <windows.h>
#include <psapi.h>

#include <fstream>

#include "AnswerFrm.h"
#include "BenchmarkSupport.h"
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

void InProcessLookups(const std::vector<std::wstring>& dictionaries, int runs) {
    ASettings::SetDictionaries(dictionaries);
    HWND host = CreateTestWindow("DictionaryLatencyHost", DefWindowProcA, "host", WS_POPUP, RECT{0, 0, 1, 1},
                                 nullptr);
    TLookupEngine engine;
    engine.Attach(host, GetModuleHandleA(nullptr));
    std::vector<std::string> unreadable;
    const long long opening = Counter();
    engine.OpenDictionaries();
    engine.SearchDictionaries("warm", unreadable);
    const double opened = Ms(opening);
    for (const std::string& path : unreadable)
        std::printf("  (could not read %s)\n", path.c_str());

    const std::vector<std::string> words = SampleWords(dictionaries[0], static_cast<std::size_t>(runs) * 10);
    TFigures search, shown[2]; // the window made anew, and the open one's content replaced
    std::size_t hits = 0;
    for (const std::string& word : words) {
        const long long start = Counter();
        const std::vector<TDictionaryAnswer> answers = engine.SearchDictionaries(word, unreadable);
        search.push_back(Ms(start));
        hits += !answers.empty();
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
    DestroyWindow(host);
    std::printf(
        "In this process, %zu dictionaries opened (first lookup waited) in %.0f ms; %zu words, %zu found\n",
        dictionaries.size(), opened, words.size(), hits);
    Row("search of all of them for a word:", search, 3);
    Row("search and answer window made, filled and painted:", shown[0], 2);
    Row("search and the open window's content replaced and painted:", shown[1], 2);
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
    const std::vector<std::wstring> listed(all.begin(), all.begin() + std::min<std::size_t>(all.size(), 2)),
        none;

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
                           : "WordNet and GCIDE listed, to the answer shown:",
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
