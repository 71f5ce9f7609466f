// What the user's dictionaries cost and gain, in one run:
// - the real WL.exe, a word selected in another program and the hot key injected: the time to the
//   answer window shown with WordNet and GCIDE listed, against the time to a stand-in browser
//   merely started with none listed (both contain the copy's 100 ms settle wait), and the time to
//   the browser for a word that no listed dictionary has;
// - the lookup itself inside this process, with the program's own engine: the search of the listed
//   dictionaries for a word, and the search with the answer window made and shown;
// - the program's start-up (until its hook is in place) and its private memory, with the
//   dictionaries listed and without.
// Usage: DictionaryLatency <runs> <dictionary file>...   (the first two are listed for WL.exe)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "AnswerFrm.h"
#include "LookupEngine.h"
#include "LookupSupport.h"
#include "Settings.h"
#include "UnicodeText.h"
#include "WinHandles.h"

using namespace TestSupport;

namespace {

double Frequency() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
}

long long Counter() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double MsSince(long long start) {
    return 1000.0 * static_cast<double>(Counter() - start) / Frequency();
}

struct TFigures {
    std::vector<double> Values;
    double Median() {
        if (Values.empty())
            return 0;
        std::sort(Values.begin(), Values.end());
        const std::size_t n = Values.size();
        return n % 2 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
    }
    double Worst() { return Values.empty() ? 0 : *std::max_element(Values.begin(), Values.end()); }
};

void SetBrowserCommand(const std::string& command) {
    TRegKey key;
    if (key.Create(HKEY_CLASSES_ROOT, "HTTP\\shell\\open\\command", KEY_SET_VALUE))
        RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
}

void ListDictionaries(const std::vector<std::string>& paths) {
    std::vector<std::wstring> wide;
    for (const std::string& path : paths)
        wide.push_back(Utf16FromUtf8(path));
    ASettings::SetDictionaries(wide);
}

HWND VisibleAnswer() {
    HWND answer = FindWindowW(L"TAnswerForm", nullptr);
    return answer && IsWindowVisible(answer) ? answer : nullptr;
}

// Injected hot key to the browser's start (its own clock reading), in milliseconds; negative when
// none came.
double HotKeyToBrowser(TSelectionHolder& holder, const std::string& word, const std::string& log) {
    DeleteFileA(log.c_str());
    holder.Select(word);
    PumpMessages(300);
    const long long pressed = Counter();
    TypeCombo({VK_CONTROL}, 'L');
    std::vector<std::string> lines;
    if (!WaitUntil([&] { return !(lines = ReadLines(log)).empty(); }, 5000))
        return -1;
    return 1000.0 * static_cast<double>(std::atoll(lines[0].c_str()) - pressed) / Frequency();
}

// Injected hot key to the answer window shown; negative when none came.
double HotKeyToAnswer(TSelectionHolder& holder, const std::string& word) {
    holder.Select(word);
    PumpMessages(300);
    const long long pressed = Counter();
    TypeCombo({VK_CONTROL}, 'L');
    double ms = -1;
    for (long long start = Counter(); MsSince(start) < 5000;) {
        if (VisibleAnswer()) {
            ms = MsSince(pressed);
            break;
        }
        Sleep(0);
    }
    TypeCombo({}, VK_ESCAPE);
    WaitUntil([] { return VisibleAnswer() == nullptr; }, 3000);
    return ms;
}

// The process's private (committed) bytes. Wine answers the extended query for other processes
// with zeros; its page-file usage is the same figure there, as on Windows.
SIZE_T PrivateBytes(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters) &&
        counters.PrivateUsage)
        return counters.PrivateUsage;
    PROCESS_MEMORY_COUNTERS basic{};
    basic.cb = sizeof basic;
    if (!GetProcessMemoryInfo(process, &basic, sizeof basic))
        std::fprintf(stderr, "no memory figures for WL.exe (error %lu)\n", GetLastError());
    return basic.PagefileUsage;
}

// Headwords spread over a dictd index, to look up.
std::vector<std::string> SampleWords(const std::string& index, std::size_t count) {
    std::vector<std::string> all;
    std::ifstream file(Utf16FromUtf8(index).c_str());
    for (std::string line; std::getline(file, line);)
        if (line.compare(0, 3, "00-") != 0 && line.find('\t') != std::string::npos)
            all.push_back(line.substr(0, line.find('\t')));
    std::vector<std::string> words;
    for (std::size_t n = 0; n < count && !all.empty(); ++n)
        words.push_back(all[(n * 7919 * 13) % all.size()]);
    return words;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

void InProcessLookups(const std::vector<std::string>& dictionaries, int runs) {
    ListDictionaries(dictionaries);
    HWND host =
        CreateTestWindow("DictionaryLatencyHost", HostProc, "host", WS_POPUP, RECT{0, 0, 1, 1}, nullptr);
    TLookupEngine engine;
    engine.Attach(host, GetModuleHandleA(nullptr));
    const long long opening = Counter();
    engine.OpenDictionaries();
    std::vector<std::string> unreadable;
    engine.SearchDictionaries("warm", unreadable);
    const double opened = MsSince(opening);
    for (const std::string& path : unreadable)
        std::printf("  (could not read %s)\n", path.c_str());

    const std::vector<std::string> words = SampleWords(dictionaries[0], static_cast<std::size_t>(runs) * 10);
    TFigures search, found, created, replaced;
    std::size_t hits = 0;
    for (const std::string& word : words) {
        const long long start = Counter();
        const std::vector<TDictionaryAnswer> answers = engine.SearchDictionaries(word, unreadable);
        search.Values.push_back(MsSince(start));
        if (!answers.empty())
            ++hits;
    }
    for (std::size_t n = 0; n < words.size(); ++n) {
        engine.LookupText = words[n];
        // Every other one in a new window, the others replacing the content of the open one.
        if (n % 2 == 0)
            TAnswerForm::CloseAll();
        const long long start = Counter();
        const bool shown = engine.LookupInDictionaries(nullptr, true);
        if (HWND answer = TAnswerForm::Current())
            UpdateWindow(answer);
        const double ms = MsSince(start);
        if (shown)
            (n % 2 == 0 ? created : replaced).Values.push_back(ms);
        PumpMessages(0);
    }
    TAnswerForm::CloseAll();
    DestroyWindow(host);
    std::printf("In this process, %zu dictionaries opened (first lookup waited) in %.0f ms\n",
                dictionaries.size(), opened);
    std::printf("  search of all of them for a word, %zu words (%zu found): median %.3f ms, worst %.3f ms\n",
                words.size(), hits, search.Median(), search.Worst());
    std::printf("  search and answer window made, filled and painted: median %.2f ms, worst %.2f ms\n",
                created.Median(), created.Worst());
    std::printf(
        "  search and the open window's content replaced and painted: median %.2f ms, worst %.2f ms\n",
        replaced.Median(), replaced.Worst());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: DictionaryLatency <runs> <dictionary file> <dictionary file> [...]\n");
        return 2;
    }
    const int runs = std::max(std::atoi(argv[1]), 1);
    const std::vector<std::string> all(argv + 2, argv + argc);
    const std::vector<std::string> listed(all.begin(), all.begin() + 2);

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

    TFigures startNone, startListed, toBrowser, toAnswer, notFound;
    SIZE_T memoryNone = 0, memoryListed = 0;
    for (int run = 0; run < runs; ++run) {
        const bool withDictionaries = run % 2 == 1; // alternated, so that both meet the same machine
        ListDictionaries(withDictionaries ? listed : std::vector<std::string>());
        const long long starting = Counter();
        TWordlark app = TWordlark::Start();
        if (!app.Window) {
            std::fprintf(stderr, "WL.exe did not start\n");
            return 1;
        }
        (withDictionaries ? startListed : startNone).Values.push_back(MsSince(starting));
        for (int lookup = 0; lookup < 3; ++lookup) {
            if (withDictionaries) {
                const double answer = HotKeyToAnswer(holder, "ephemeral");
                const double browser = HotKeyToBrowser(holder, "zyzzyvaq", log);
                // The first one after the start may still wait for the dictionaries to open.
                if (lookup > 0 && answer > 0)
                    toAnswer.Values.push_back(answer);
                if (lookup > 0 && browser > 0)
                    notFound.Values.push_back(browser);
            } else {
                const double browser = HotKeyToBrowser(holder, "ephemeral", log);
                if (lookup > 0 && browser > 0)
                    toBrowser.Values.push_back(browser);
            }
            PumpMessages(200);
        }
        (withDictionaries ? memoryListed : memoryNone) = PrivateBytes(app.Process->Handle());
        app.Quit();
    }
    DeleteFileA(log.c_str());

    std::printf("WL.exe, injected hot key (with the %d ms settle wait), %d starts of each kind:\n",
                static_cast<int>(TLookupEngine::SettleWaitMs), (runs + 1) / 2);
    const double browser = toBrowser.Median(), answer = toAnswer.Median();
    std::printf("  none listed, to the browser started:         median %7.1f ms, worst %7.1f ms\n", browser,
                toBrowser.Worst());
    std::printf("  WordNet and GCIDE listed, to the answer shown: median %7.1f ms, worst %7.1f ms (%.2fx)\n",
                answer, toAnswer.Worst(), browser > 0 ? answer / browser : 0);
    std::printf("  listed, a word none has, to the browser:     median %7.1f ms, worst %7.1f ms (%.2fx)\n",
                notFound.Median(), notFound.Worst(), browser > 0 ? notFound.Median() / browser : 0);
    const double none = startNone.Median(), with = startListed.Median();
    std::printf("Start-up until the hook is in place: none listed %.1f ms, listed %.1f ms (%.2fx)\n", none,
                with, none > 0 ? with / none : 0);
    std::printf("Private memory after the lookups: none listed %.1f MB, listed %.1f MB (%+.1f MB)\n",
                static_cast<double>(memoryNone) / 1048576.0, static_cast<double>(memoryListed) / 1048576.0,
                (static_cast<double>(memoryListed) - static_cast<double>(memoryNone)) / 1048576.0);

    InProcessLookups(all, runs);
    ClearProgramRegistry();
    return 0;
}
