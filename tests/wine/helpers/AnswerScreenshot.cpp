// For scripts/answer-screenshots.sh: the real WL.exe's answer window for a word selected in
// notepad, kept on the screen while the script takes its picture. Lists the given dictionary files
// and a small Greek one that it writes itself. Writes the ready file once the answer is in front
// and waits until the script deletes it. ANSWER_SIZE=WxH gives the window a size the user chose;
// ANSWER_MENU=1 looks the word up by "&Dictionaries" in the link menu
// (close words for a word none has). Usage: AnswerScreenshot <ready file> <word> [dictionary file...]
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "DictWriter.h"
#include "LookupSupport.h"
#include "Settings.h"
#include "UnicodeText.h"

using namespace TestSupport;

int main() {
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> args(
        CommandLineToArgvW(GetCommandLineW(), &count), reinterpret_cast<decltype(&LocalFree)>(LocalFree));
    if (!args || count < 3) {
        std::fprintf(stderr, "usage: AnswerScreenshot <ready file> <word> [dictionary file...]\n");
        return 2;
    }
    const std::wstring ready = args.get()[1], word = args.get()[2];
    TSettingsLink link;
    ClearProgramRegistry();
    ASettings::SetEnabled(true);
    const std::string stem = TempFile("greek-screenshot"), base = stem.substr(0, stem.size() - 4);
    std::map<std::string, std::string> files = DictWriter::StarDictFiles(
        base,
        {{"λέξη", "η [léksi] ουσιαστικό θηλυκό\n1. ο μικρότερος αυτοτελής φορέας σημασίας του λόγου: "
                  "γραπτή, προφορική λέξη· μια λέξη με πολλές σημασίες.\n2. (μεταφορικά) κουβέντα, "
                  "λόγος: δεν είπε λέξη όλη τη μέρα.\n\nΕτυμολογία: αρχαία ελληνική λέξις < λέγω."}},
        {}, {"2.4.2", "\n", "m"});           // plain-text entries (sametypesequence=m)
    std::string& ifo = files[base + ".ifo"]; // the dictionary's own name, in its own script
    ifo.replace(ifo.find("Test Book"), 9, "Λεξικό της Κοινής Νεοελληνικής");
    DictWriter::WriteFiles(files);
    std::vector<std::wstring> listed(args.get() + 3, args.get() + count);
    listed.push_back(Utf16FromUtf8(base + ".ifo"));
    ASettings::SetDictionaries(listed);

    DWORD width = 0, height = 0;
    if (const char* size = std::getenv("ANSWER_SIZE");
        size && std::sscanf(size, "%lux%lu", &width, &height) == 2)
        for (const auto& [name, value] : {std::pair{"Width", width}, {"Height", height}})
            RegSetKeyValueA(HKEY_CURRENT_USER, AnswerKey, name, REG_DWORD, &value, sizeof value);
    const bool menu = std::getenv("ANSWER_MENU") != nullptr;
    TWordlark app = TWordlark::Start();
    TSelectionHolder notepad("notepad.exe", "Notepad");
    const auto inFront = [] {
        HWND answer = FindTopWindow("TAnswerForm", nullptr);
        return answer && GetForegroundWindow() == answer;
    };
    const bool shown =
        app.Window && notepad.Window() && notepad.Select(word) &&
        (TypeCombo({VK_CONTROL}, menu ? 'M' : 'L'), !menu || WaitUntil([] { return VisibleMenu(); }, 5000)) &&
        (!menu || (TypeCombo({}, 'D'), true)) && WaitUntil(inFront, 10000);
    if (shown) {
        PumpMessages(500); // painted
        std::ofstream(ready.c_str()) << "ready\n";
        WaitUntil([&] { return GetFileAttributesW(ready.c_str()) == INVALID_FILE_ATTRIBUTES; }, 30000);
    } else {
        std::fprintf(stderr, "no answer window came; in front: %s\n",
                     DescribeWindow(GetForegroundWindow()).c_str());
    }
    app.Quit();
    for (const auto& file : files)
        DeleteFileA(file.first.c_str());
    ClearProgramRegistry();
    return shown ? 0 : 1;
}
