// ASettings: the live state shared through the named block, and the settings kept in the registry
// under HKEY_CURRENT_USER "Software\Orvane\Wordlark2".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "SharedBlock.h"
#include "WebLinks.h"

class ASettings {
public:
    ASettings() = delete;

    // Shared block (Settings.cpp). Link before any other use; raise TWordlarkError on failure.
    static void LinkToSettings();
    static void UnlinkFromSettings();

    static bool GetConfigWindowShown();
    static void SetConfigWindowShown(bool shown);
    static bool GetEnabled();
    static void SetEnabled(bool enabled);
    // The first call in a new block loads the hot keys from the registry for every process.
    static TKeyCombo GetKeyCombo(int index);
    static void SetKeyCombo(int index, TKeyCombo combo);
    static HHOOK GetHookHandle();
    static void SetHookHandle(HHOOK hook);
    static HWND GetTargetWindow();
    static void SetTargetWindow(HWND window);

    // Registry store (SettingsStore.cpp): nothing cached, every call reads or writes at once.
    static bool GetOpenInNewBrowser();
    static void SetOpenInNewBrowser(bool value);
    static int GetLinkCount();
    // The links that GetLinkCount counts, read once (the predefined ones merged in the same way).
    static std::vector<TWebLink> GetLinks();
    static void SetLinkCount(int count);
    static TWebLink ReadLink(int index);
    static void WriteLink(int index, const TWebLink& link);
    // The programs in which the hot keys are off, as stored (ProgramNames.h): entries that cannot
    // be read are left out, nothing raises. SetPrograms stores file names.
    static std::vector<std::wstring> GetPrograms();
    static void SetPrograms(const std::vector<std::wstring>& names);
    // The dictionaries that Quick Lookup looks in first, in their order: full paths of their .ifo
    // or .index files, read as the programs are (nothing raises, at most MaxListedDictionaries).
    static std::vector<std::wstring> GetDictionaries();
    static void SetDictionaries(const std::vector<std::wstring>& paths);
    // Whether a list of dictionaries was ever stored, an empty one too: its key exists.
    static bool HasDictionaryList();
    static std::string GetDefaultLink();
    static void SetDefaultLink(const std::string& description);

private:
    static int ReadLinkCount();
    static std::vector<TWebLink> AddPredefinedLinks();
    static void ReplaceOldSearchLink(std::vector<TWebLink>& links);
};

// Links the block for the lifetime of a scope; unlink errors at that point are dropped.
class TSettingsLink {
public:
    TSettingsLink() { ASettings::LinkToSettings(); }
    TSettingsLink(const TSettingsLink&) = delete;
    TSettingsLink& operator=(const TSettingsLink&) = delete;
    ~TSettingsLink();
};

constexpr const char* GeneralKey = "Software\\Orvane\\Wordlark2\\General";
constexpr const char* LinksKey = "Software\\Orvane\\Wordlark2\\Links";
// "DictionaryCount" (REG_DWORD) and "Dictionary0", "Dictionary1", ... (REG_SZ), in the programs' style.
constexpr const char* DictionariesKey = "Software\\Orvane\\Wordlark2\\Dictionaries";
constexpr unsigned MaxListedDictionaries = 100;
// The answer window: "Width" and "Height" (REG_DWORD, pixels at 96 DPI) once the user has sized it,
// "Zoom" (percent) and "KeepOpen" (0 or 1).
constexpr const char* AnswerKey = "Software\\Orvane\\Wordlark2\\Answer";
