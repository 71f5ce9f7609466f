// TConfigForm: the configuration window. Hidden for most of its life, it is the program's message
// target (hot keys from the hook library, the tray icon, the clipboard-viewer chain, a newly started
// copy) and owns all run-time state of the program.
#pragma once

#include <windows.h>

#include <string>

class TConfigForm {
public:
    TConfigForm() = default; // no Win32 calls until Create
    TConfigForm(const TConfigForm&) = delete;
    TConfigForm& operator=(const TConfigForm&) = delete;
    ~TConfigForm();

    HWND Handle() const { return Window; }

    // --- Lookup URL construction and browser launch (src/lookup/LookupUrl.cpp) ---
    // The current lookup text, single-byte ANSI.
    std::string LookupText;
    void LookupOnWebLink(const std::string& description);
    void LaunchUrl(const std::string& description, const std::string& url);
    void LaunchBrowser(const std::string& url, const std::string& description, bool newWindow);
    void SplitBrowserCommand(std::string& program, std::string& parameters);
    std::string UrlEncode(const std::string& text);
    std::string GetBrowserCommand();
    bool IsBrowserFirefox();
    void AddPredefinedSiteTag(std::string& url);

    // --- Window, tray icon and tray menu (src/app/ConfigFrm.cpp) ---

private:
    HWND Window = nullptr;
};
