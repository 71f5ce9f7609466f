// The installer and uninstaller as a user and the program meet them: silent installs into fresh
// folders, the uninstall key that the program's Uninstall button relies on, an update over a
// running copy, and uninstalls started the ways Windows and the program start them.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "ConfigFrmRes.h"
#include "ProgramTest.h"
#include "Settings.h"
#include "SimpleReg.h"
#include "TestSupport.h"
#include "WinHandles.h"

using namespace TestSupport;

namespace {

constexpr const char* FormClass = "TConfigForm";
constexpr const char* FormTitle = "Wordlark Configuration";
constexpr UINT QuitRequest = WM_USER + 4;
constexpr const char* UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneWordlark_is1";
constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* SettingsKey = "Software\\Orvane\\Wordlark2\\General";
// clang-format off
const char* const InstalledFiles[] = {"WL.exe",      "Tarnwick2.dll", "readme.txt",  "Uninstall.exe",
                                      "WL-110.html", "WL-120.html",   "WL-125.html", "WL-130.html",
                                      "WL-135.html", "WL-140.html",   "WL-145.html",
                                      "Dictionaries\\wn.index", "Dictionaries\\wn.dict.dz", "Dictionaries\\WordNet-license.txt"};
// clang-format on

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Values of the 64-bit registry view, where the installer writes; empty or all ones when absent.
DWORD MachineValue(const char* key, const char* name, DWORD type, void* data, DWORD size) {
    TRegKey opened;
    if (!opened.Open(HKEY_LOCAL_MACHINE, key, KEY_QUERY_VALUE | KEY_WOW64_64KEY))
        return ERROR_FILE_NOT_FOUND;
    return RegGetValueA(opened.Get(), nullptr, name, type, nullptr, data, &size);
}

std::string MachineValue(const char* key, const char* name) {
    char data[1024] = "";
    return MachineValue(key, name, RRF_RT_REG_SZ, data, sizeof data) ? "" : data;
}

DWORD MachineNumber(const char* key, const char* name) {
    DWORD data = 0;
    return MachineValue(key, name, RRF_RT_REG_DWORD, &data, sizeof data) ? 0xFFFFFFFF : data;
}

// A string value of the user's registry in one read: one that another process deletes meanwhile
// reads as absent instead of as a failed read.
std::string UserValue(const char* key, const char* name) {
    char data[1024] = "";
    DWORD size = sizeof data;
    return RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) ? "" : data;
}

bool UninstallKeyExists() {
    TRegKey key;
    return key.Open(HKEY_LOCAL_MACHINE, UninstallKey, KEY_READ | KEY_WOW64_64KEY);
}

// What the program's Uninstall button runs: the "UninstallString" with every double quote removed,
// when that names a file.
std::string UninstallerAsTheProgramFindsIt() {
    std::string command = ASimpleReg::ReadString(HKEY_LOCAL_MACHINE, UninstallKey, "UninstallString");
    command.erase(std::remove(command.begin(), command.end(), '"'), command.end());
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(command.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return "";
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? "" : command;
}

std::string ShortcutFolder(int programsFolder = CSIDL_COMMON_PROGRAMS) {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, programsFolder, nullptr, 0, programs);
    return std::string(programs) + "\\Wordlark";
}

// A string value of a file's version resource.
std::string VersionString(const std::string& file, const char* name) {
    DWORD ignored = 0;
    std::string block(GetFileVersionInfoSizeA(file.c_str(), &ignored), '\0');
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (block.empty() ||
        !GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data()) ||
        !VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
        return "";
    return value;
}

FILETIME WriteTime(const std::string& path) {
    FILETIME time{};
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        time = data.ftLastWriteTime;
    return time;
}

void SetWriteTime(const std::string& path, FILETIME time) {
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
}

std::string ProcessImage(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    char path[MAX_PATH] = "";
    DWORD size = MAX_PATH;
    QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
    return path;
}

class Installer : public TProgramTest {
protected:
    void SetUp() override {
        TProgramTest::SetUp();
        ForgetInstallation();
        // The user's settings, which no install or uninstall may touch.
        ASimpleReg::WriteBool(SettingsKey, "OpenInNewBrowser", true);
    }
    void TearDown() override {
        for (HWND window; (window = FindTopWindow(FormClass, FormTitle)) != nullptr;) {
            PostMessageA(window, QuitRequest, 0, 0);
            if (!WaitUntil([&] { return !IsWindow(window); }, 10000))
                break;
        }
        Target.reset();
        ForgetInstallation();
    }
    // Leaves the machine as if Wordlark had never been installed, for anyone or just for the user,
    // whatever a test left behind: the installer chooses its kind from what is installed.
    static void ForgetInstallation() {
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, UninstallKey, KEY_WOW64_64KEY, 0);
        RegDeleteKeyA(HKEY_CURRENT_USER, UninstallKey);
        RegDeleteKeyValueA(HKEY_CURRENT_USER, RunKey, "Wordlark");
        TRegKey run;
        if (run.Open(HKEY_LOCAL_MACHINE, RunKey, KEY_SET_VALUE | KEY_WOW64_64KEY))
            RegDeleteValueA(run.Get(), "Wordlark");
        for (const std::string& folder : {ShortcutFolder(), ShortcutFolder(CSIDL_PROGRAMS)}) {
            for (const char* name : {"Wordlark.lnk", "Wordlark Read Me.lnk", "Uninstall Wordlark.lnk"})
                DeleteFileA((folder + "\\" + name).c_str());
            RemoveDirectoryA(folder.c_str());
        }
    }

    // A folder without blanks that no run has used, so that "/D=" can pass it unquoted.
    static std::string FreshFolder() {
        std::string folder = TempFile("wordlark");
        folder.resize(folder.size() - 4); // without ".txt"
        return folder;
    }
    // Runs the installer with the arguments; its exit code, or STILL_ACTIVE when it did not end.
    static DWORD Setup(const std::string& arguments) {
        TProcess setup(Quoted(ExeDir() + "..\\..\\Wordlark-2.0-setup.exe") + " " + arguments);
        if (!setup.Wait(60000))
            return STILL_ACTIVE;
        return setup.ExitCode();
    }
    // Installed for anyone into the folder, or what happened instead.
    static testing::AssertionResult InstallSilently(const std::string& folder) {
        const DWORD exitCode = Setup("/S /D=" + folder);
        const std::string machine = MachineValue(UninstallKey, "InstallLocation");
        if (exitCode == 0 && machine == folder)
            return testing::AssertionSuccess();
        return testing::AssertionFailure()
               << "exit code " << exitCode << ", for anyone in \"" << machine << "\", for the user in \""
               << UserValue(UninstallKey, "InstallLocation") << "\"";
    }

    static bool Everything(const std::string& folder, bool present) {
        bool all = true;
        for (const char* name : InstalledFiles)
            all = all && FileExists(folder + "\\" + name) == present;
        return all && UninstallKeyExists() == present &&
               !MachineValue(RunKey, "Wordlark").empty() == present &&
               FileExists(ShortcutFolder() + "\\Wordlark.lnk") == present;
    }
    // Uninstalls finish a moment after the started uninstaller has ended: it runs on from a copy.
    static bool WaitUntilUninstalled(const std::string& folder) {
        return WaitUntil([&] { return Everything(folder, false) && !FolderExists(folder); }, 20000);
    }
    static bool SettingsKept() { return ASimpleReg::ReadBool(SettingsKey, "OpenInNewBrowser", false); }

    // KeyTarget in front: Ctrl+L must not reach it while the program's hook works; Ctrl+K, which
    // follows, shows that the keys arrived at all.
    bool QuickLookupKeySwallowed() {
        if (!Target) {
            Log = TempFile("keys");
            Target =
                std::make_unique<TProcess>(Quoted(BuildFile("KeyTarget.exe")) + " " + Quoted(Log) + " Keys");
            if (!WaitUntil([&] { return !ReadLines(Log).empty(); }, 10000))
                return false;
        }
        if (!Activate(FindTopWindow("WordlarkKeyTarget", "Keys")))
            return false;
        auto count = [&](const char* line) {
            const std::vector<std::string> lines = ReadLines(Log);
            return std::count(lines.begin(), lines.end(), line);
        };
        const auto markers = count("down 4B 0"), keys = count("down 4C 0");
        TypeCombo({VK_CONTROL}, 'L');
        TypeCombo({VK_CONTROL}, 'K');
        return WaitUntil([&] { return count("down 4B 0") > markers; }, 5000) && count("down 4C 0") == keys;
    }

    std::unique_ptr<TProcess> Target;
    std::string Log;
};

// The installer started without a silent switch and driven through its pages by their buttons,
// as a user clicks through them. Each page is a new child dialog of the wizard window.
class TWizard {
public:
    explicit TWizard(const std::string& folder)
        : Setup(Quoted(ExeDir() + "..\\..\\Wordlark-2.0-setup.exe") + " /D=" + folder) {}
    // A top-level dialog of the installer: the wizard shows its page as a child dialog, a message
    // box has none.
    HWND Dialog(bool wizard) {
        for (HWND window = nullptr;
             (window = FindWindowExA(nullptr, window, "#32770", nullptr)) != nullptr;) {
            DWORD processId = 0;
            GetWindowThreadProcessId(window, &processId);
            if (processId == Setup.Id() && IsWindowVisible(window) &&
                (FindWindowExA(window, nullptr, "#32770", nullptr) != nullptr) == wizard)
                return window;
        }
        return nullptr;
    }
    HWND Page() { return FindWindowExA(Dialog(true), nullptr, "#32770", nullptr); }
    // Presses Next (Install, Finish) once it is enabled and waits until another page is shown.
    bool Next() {
        HWND page = nullptr;
        if (!WaitUntil([&] { return (page = Page()) && IsWindowEnabled(GetDlgItem(Dialog(true), IDOK)); },
                       10000))
            return false;
        PressButton(Dialog(true), IDOK);
        return WaitUntil([&] { return Page() != page; }, 10000);
    }
    // The progress page gives way to the finish page, within the time a silent install has: the
    // English dictionary is most of what it writes. A wait that runs out says what it saw.
    bool ReachesFinish() {
        if (WaitUntil([&] { return NextText() == "&Finish"; }, 60000))
            return true;
        std::fprintf(stderr, "no finish page within 60 s: the button reads \"%s\", the installer is %s\n",
                     NextText().c_str(), Setup.Describe().c_str());
        return false;
    }
    std::string NextText() {
        char text[64] = "";
        GetDlgItemTextA(Dialog(true), IDOK, text, sizeof text);
        return text;
    }
    TProcess Setup;
};

TEST_F(Installer, SilentInstallPutsFilesUninstallKeyAndLogonEntryInPlaceAndStartsNothing) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(InstallSilently(folder));
    EXPECT_TRUE(Everything(folder, true));
    PumpMessages(500);
    EXPECT_EQ(FindTopWindow(FormClass, FormTitle), nullptr) << "a silent first install started the program";

    EXPECT_EQ(UninstallerAsTheProgramFindsIt(), folder + "\\Uninstall.exe");
    EXPECT_EQ(MachineValue(UninstallKey, "UninstallString"), Quoted(folder + "\\Uninstall.exe"));
    EXPECT_EQ(MachineValue(UninstallKey, "QuietUninstallString"),
              Quoted(folder + "\\Uninstall.exe") + " /SILENT");
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayName"), "Wordlark");
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayVersion"), "2.0");
    EXPECT_EQ(MachineValue(UninstallKey, "Publisher"), "Orvane");
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayIcon"), folder + "\\WL.exe,0");
    EXPECT_EQ(MachineValue(UninstallKey, "InstallLocation"), folder);
    EXPECT_EQ(MachineValue(UninstallKey, "URLInfoAbout"), "http://www.orvane.com/wordlark");
    EXPECT_EQ(MachineValue(UninstallKey, "HelpLink"), "http://www.orvane.com/wordlark/support");
    const DWORD kilobytes = MachineNumber(UninstallKey, "EstimatedSize");
    EXPECT_GT(kilobytes, 50u);
    EXPECT_LT(kilobytes, 50000u); // the English dictionary is 12 MB of it
    EXPECT_EQ(MachineNumber(UninstallKey, "NoModify"), 1u);
    EXPECT_EQ(MachineNumber(UninstallKey, "NoRepair"), 1u);
    EXPECT_EQ(MachineValue(RunKey, "Wordlark"), Quoted(folder + "\\WL.exe"));

    EXPECT_NE(ReadFile(folder + "\\Dictionaries\\WordNet-license.txt").find("WordNet 3.0 Copyright 2006"),
              std::string::npos);
    const std::string readme = ReadFile(folder + "\\readme.txt");
    EXPECT_NE(readme.find("Ctrl + L"), std::string::npos);
    for (size_t at = readme.find('\n'); at != std::string::npos; at = readme.find('\n', at + 1))
        ASSERT_EQ(readme[at - 1], '\r') << "a line break without CR at " << at;
    for (const char* file : {"WL.exe", "Tarnwick2.dll"}) {
        const std::string path = folder + "\\" + file;
        EXPECT_EQ(VersionString(path, "FileVersion"), "2.0.0.0") << file;
        EXPECT_EQ(VersionString(path, "ProductVersion"), "2.0.0.0") << file;
        EXPECT_EQ(VersionString(path, "ProductName"), "Wordlark") << file;
        EXPECT_EQ(VersionString(path, "CompanyName"), "Orvane") << file;
        EXPECT_EQ(VersionString(path, "OriginalFilename"), file);
    }
}

TEST_F(Installer, EverySilentSwitchInstallsWithoutAskingAndUnknownSwitchesAreIgnored) {
    for (const std::string switches :
         {"/SILENT", "/VERYSILENT", "/verysilent /NORESTART /SP-", "/x /=/ // /SILENT /LOG="}) {
        const std::string folder = FreshFolder();
        EXPECT_EQ(Setup(switches + " /D=" + folder), 0u) << switches;
        EXPECT_TRUE(FileExists(folder + "\\WL.exe")) << switches;
        EXPECT_EQ(MachineValue(UninstallKey, "InstallLocation"), folder) << switches;
    }
}

TEST_F(Installer, PagesLeadToTheFinishPageWhoseRunOptionStartsTheInstalledProgram) {
    const std::string folder = FreshFolder();
    TWizard wizard(folder);
    // Welcome, read-me, folder, options (Install), progress.
    for (int page = 0; page < 4; ++page)
        ASSERT_TRUE(wizard.Next()) << "page " << page;
    ASSERT_TRUE(wizard.ReachesFinish());
    EXPECT_TRUE(Everything(folder, true));
    ASSERT_TRUE(wizard.Next() || wizard.Setup.Wait(0));
    EXPECT_TRUE(wizard.Setup.Wait(10000));
    HWND window = WaitForWindow(FormClass, FormTitle, 15000);
    ASSERT_NE(window, nullptr) << "\"Run Wordlark\" did not start the program";
    EXPECT_EQ(lstrcmpiA(ProcessImage(window).c_str(), (folder + "\\WL.exe").c_str()), 0)
        << ProcessImage(window);
}

// The English dictionary, on by default, left out on the components page: the installation and a
// silent update after it leave it out.
TEST_F(Installer, TheEnglishDictionaryLeftOutStaysOutThroughUpdates) {
    const std::string folder = FreshFolder(), dictionaries = folder + "\\Dictionaries";
    TWizard wizard(folder);
    for (int page = 0; page < 3; ++page) // welcome, read-me, folder
        ASSERT_TRUE(wizard.Next()) << "page " << page;
    // The second option, below the program itself; Space switches it as it does for a user.
    HWND tree = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (tree = FindWindowExA(wizard.Page(), nullptr, "SysTreeView32", nullptr)) != nullptr; },
        10000))
        << "no options page: " << DescribeWindow(wizard.Page());
    const HTREEITEM item = TreeView_GetNextSibling(tree, TreeView_GetRoot(tree));
    const UINT checked = TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK);
    TreeView_SelectItem(tree, item);
    PostMessageA(tree, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(
        WaitUntil([&] { return TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) != checked; }, 5000));
    ASSERT_TRUE(wizard.Next());
    ASSERT_TRUE(wizard.ReachesFinish());
    ASSERT_TRUE(wizard.Next() || wizard.Setup.Wait(0));
    EXPECT_TRUE(FileExists(folder + "\\WL.exe") && !FolderExists(dictionaries));
    // The finish page starts the program; the update ends it, once its window is there to be asked.
    EXPECT_TRUE(wizard.Setup.Wait(10000) && WaitForWindow(FormClass, FormTitle, 15000));
    EXPECT_EQ(Setup("/S"), 0u);
    EXPECT_FALSE(FolderExists(dictionaries));
}

TEST_F(Installer, TargetThatCannotBeWrittenIsReportedAndLeavesTheRegistryAlone) {
    // A folder where the program file should go: the file cannot be written.
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((folder + "\\WL.exe").c_str(), nullptr));
    const DWORD exitCode = Setup("/S /D=" + folder);
    EXPECT_NE(exitCode, 0u);
    EXPECT_NE(exitCode, STILL_ACTIVE);
    EXPECT_FALSE(UninstallKeyExists());

    // Without a silent switch the installer says so.
    TWizard wizard(folder);
    for (int page = 0; page < 4; ++page)
        ASSERT_TRUE(wizard.Next()) << "page " << page;
    // First the file that cannot be written (skipped here), then what that means for the installation.
    // A box is found by its window before its text and buttons exist: it is pressed once its text is there.
    HWND box = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] {
            return (box = wizard.Dialog(false)) != nullptr &&
                   MessageBoxText(box).find(folder + "\\WL.exe") != std::string::npos;
        },
        10000))
        << (box ? MessageBoxText(box) : "(no box)");
    ASSERT_NE(box, nullptr);
    PressButton(box, IDIGNORE);
    ASSERT_TRUE(WaitUntil(
        [&] {
            return (box = wizard.Dialog(false)) != nullptr &&
                   MessageBoxText(box).find("cannot write") != std::string::npos;
        },
        10000))
        << MessageBoxText(box);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(wizard.Dialog(true), IDCANCEL)); }, 10000));
    PressButton(wizard.Dialog(true), IDCANCEL);
    EXPECT_TRUE(wizard.Setup.Wait(10000));
    EXPECT_FALSE(UninstallKeyExists());
    EXPECT_EQ(MachineValue(RunKey, "Wordlark"), "");
}

TEST_F(Installer, TheInstalledProgramsUninstallButtonEndsItAndUninstallsKeepingTheSettings) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(InstallSilently(folder));
    TWordlark wordlark = TWordlark::Start(folder + "\\WL.exe");
    ASSERT_NE(wordlark.Window, nullptr);
    ASSERT_TRUE(wordlark.ShowWindow());

    // The Overview page is the one shown first.
    Click(wordlark.Control(IDC_UNINSTALLBUTTON));
    EXPECT_EQ(AnswerMessageBox("Uninstall", IDYES), "Do you want to uninstall Wordlark?");
    EXPECT_TRUE(wordlark.Process->Wait(10000));
    EXPECT_TRUE(WaitUntilUninstalled(folder));
    EXPECT_TRUE(SettingsKept());
}

TEST_F(Installer, QuietUninstallStringEndsARunningProgramAndRemovesEverything) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(InstallSilently(folder));
    TWordlark wordlark = TWordlark::Start(folder + "\\WL.exe");
    ASSERT_NE(wordlark.Window, nullptr);
    const std::string command = MachineValue(UninstallKey, "QuietUninstallString");
    TProcess uninstall(command);
    ASSERT_TRUE(uninstall.Started()) << command << " (error " << GetLastError() << ")";
    EXPECT_TRUE(wordlark.Process->Wait(15000)) << "the uninstaller did not end the program";
    EXPECT_TRUE(WaitUntilUninstalled(folder));
    EXPECT_TRUE(SettingsKept());
}

TEST_F(Installer, UninstallAfterFilesWereDeletedByHandStillRemovesKeyShortcutsAndLogonEntry) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(InstallSilently(folder));
    for (const std::string name : InstalledFiles) {
        if (name != "Uninstall.exe") {
            ASSERT_TRUE(DeleteFileA((folder + "\\" + name).c_str())) << name;
        }
    }
    TProcess uninstall(Quoted(folder + "\\Uninstall.exe") + " /S");
    EXPECT_TRUE(WaitUntilUninstalled(folder));
}

TEST_F(Installer, UpdateOverARunningCopyReplacesItsFilesAndLeavesExactlyOneWorkingCopy) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(InstallSilently(folder));
    // Files that carry an old time now carry the packed one again once they were replaced.
    const FILETIME old{0x10000000, 0x01000000};
    for (const char* name : {"WL.exe", "Tarnwick2.dll", "readme.txt"})
        SetWriteTime(folder + "\\" + name, old);
    TWordlark wordlark = TWordlark::Start(folder + "\\WL.exe");
    ASSERT_NE(wordlark.Window, nullptr);
    // The hook library is now loaded into KeyTarget too, and stays there.
    ASSERT_TRUE(QuickLookupKeySwallowed());

    // Without "/D=", the update goes where the installed copy is.
    ASSERT_EQ(Setup("/S"), 0u);
    EXPECT_TRUE(wordlark.Process->Wait(0)) << "the old copy still runs";
    for (const char* name : {"WL.exe", "Tarnwick2.dll", "readme.txt"}) {
        const FILETIME now = WriteTime(folder + "\\" + name);
        EXPECT_NE(CompareFileTime(&old, &now), 0) << name << " was not replaced";
    }
    HWND window = WaitForWindow(FormClass, FormTitle, 15000);
    ASSERT_NE(window, nullptr) << "the update did not start the program again";
    EXPECT_TRUE(WaitUntil([&] { return ASettings::GetTargetWindow() == window; }, 5000));
    PumpMessages(1000);
    EXPECT_EQ(CountTopWindows(FormClass, FormTitle), 1);
    EXPECT_EQ(lstrcmpiA(ProcessImage(window).c_str(), (folder + "\\WL.exe").c_str()), 0)
        << ProcessImage(window);
    EXPECT_TRUE(QuickLookupKeySwallowed());
    EXPECT_TRUE(SettingsKept());
    EXPECT_TRUE(Everything(folder, true));
}

TEST_F(Installer, UnzippedPortableCopyHasTheDeliverablesAndItsHookWorks) {
    const std::string folder = ExeDir() + "..\\..\\Wordlark";
    for (const std::string name : InstalledFiles)
        EXPECT_EQ(FileExists(folder + "\\" + name), name != "Uninstall.exe") << name;
    TWordlark wordlark = TWordlark::Start(folder + "\\WL.exe");
    EXPECT_TRUE(QuickLookupKeySwallowed());
}

// A copy installed just for the user, updated while it runs, beside one installed for anyone.
class PerUserInstaller : public Installer {
protected:
    // Files, uninstall key, logon entry and the shortcut in the user's own Start menu.
    static bool UserCopy(const std::string& folder, bool present) {
        char programs[MAX_PATH] = "";
        SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
        bool all = FileExists(std::string(programs) + "\\Wordlark\\Wordlark.lnk") == present &&
                   !UserValue(RunKey, "Wordlark").empty() == present && FolderExists(folder) == present;
        for (const char* name : InstalledFiles)
            all = all && FileExists(folder + "\\" + name) == present;
        return all;
    }
};

TEST_F(PerUserInstaller, WritesOnlyForTheUserStaysSoOnUpdateAndEachUninstallButtonRemovesItsOwnCopy) {
    char localAppData[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, localAppData);
    const std::string user = std::string(localAppData) + "\\Programs\\Wordlark", machine = FreshFolder();
    ASSERT_EQ(Setup("/S /CURRENTUSER"), 0u);
    EXPECT_TRUE(UserCopy(user, true));
    EXPECT_EQ(ASimpleReg::ReadString(HKEY_CURRENT_USER, UninstallKey, "UninstallString"),
              Quoted(user + "\\Uninstall.exe"));
    EXPECT_TRUE(Everything("C:\\Program Files\\Wordlark", false)) << "something was written for anyone";

    TWordlark old = TWordlark::Start(user + "\\WL.exe");
    ASSERT_EQ(Setup("/S"), 0u);
    HWND window = WaitForWindow(FormClass, FormTitle, 15000);
    EXPECT_EQ(lstrcmpiA(ProcessImage(window).c_str(), (user + "\\WL.exe").c_str()), 0);
    EXPECT_TRUE(Everything("C:\\Program Files\\Wordlark", false));
    // Ended, so that the next install starts no copy of its own.
    PostMessageA(window, QuitRequest, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 10000));

    // A folder of its own beside the user's copy is a copy for anyone; the user's stays whole.
    const std::string other = FreshFolder();
    ASSERT_TRUE(InstallSilently(other));
    TProcess removeOther(Quoted(other + "\\Uninstall.exe") + " /S");
    EXPECT_TRUE(WaitUntilUninstalled(other) && UserCopy(user, true));

    ASSERT_EQ(Setup("/S /ALLUSERS /D=" + machine), 0u);
    for (const std::string& removed : {user, machine}) {
        TWordlark wordlark = TWordlark::Start(removed + "\\WL.exe");
        ASSERT_TRUE(wordlark.ShowWindow());
        Click(wordlark.Control(IDC_UNINSTALLBUTTON));
        EXPECT_EQ(AnswerMessageBox("Uninstall", IDYES), "Do you want to uninstall Wordlark?");
        EXPECT_TRUE(wordlark.Process->Wait(10000));
        // Each uninstaller leaves the other copy whole.
        EXPECT_TRUE(
            WaitUntil([&] { return UserCopy(user, false) && Everything(machine, removed == user); }, 20000))
            << removed;
    }
    EXPECT_TRUE(WaitUntilUninstalled(machine));
    EXPECT_TRUE(SettingsKept());
}

} // namespace
