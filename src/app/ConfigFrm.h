// TConfigForm: the configuration window. Hidden for most of its life, it is the program's message
// target (hot keys from the hook library, the tray icon, the clipboard-viewer chain, a newly started
// copy) and owns all run-time state of the program.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <string>

#include "../lookup/LookupEngine.h"
#include "AnchorLayout.h"
#include "ControlText.h"
#include "ErrorBox.h"
#include "PendingKeyCombos.h"
#include "Settings.h"
#include "WinHandles.h"
#include "WorkingDictionaries.h"
#include "WorkingLinks.h"
#include "WorkingPrograms.h"

using TImageList = TOwnedHandle<HIMAGELIST, ImageList_Destroy>;

class TConfigForm {
public:
    TConfigForm() = default; // no Win32 calls until Create
    TConfigForm(const TConfigForm&) = delete;
    TConfigForm& operator=(const TConfigForm&) = delete;
    ~TConfigForm();

    HWND Handle() const { return Window; }
    // False when the keyboard hook could not be installed: the program then has no hot keys.
    bool HasHook() const { return HookStarted; }

    // The lookup engine: hot keys, the link menu, the Edit-and-Lookup dialog and the browser launch.
    TLookupEngine Engine;

    // --- Window, tray icon and tray menu (src/app/ConfigFrm.cpp) ---
    // Registers the window class and creates the window hidden from the dialog template of the
    // given module; FormCreate runs inside. False when the window could not be made.
    bool Create(HINSTANCE instance);
    // Destroys the window (FormDestroy runs inside); nothing happens when there is none.
    void Destroy();
    // Runs the program's message loop until the quit message; returns its exit code.
    int RunMessageLoop();

    void ShowConfiguration();
    void AddTrayIcon();
    void DeleteTrayIcon();
    void UpdateTrayIcon();

    // Pages in tab order.
    enum TPage {
        OverviewPage = 0,
        HotKeysPage = 1,
        WebLinksPage = 2,
        ProgramsPage = 3,
        DictionariesPage = 4,
        PageCount = 5
    };
    void SelectPage(TPage page);

    // --- Hot Keys page and the frame's load, validate and save (src/app/ConfigFrmHotKeys.cpp) ---
    void InitHotKeyEdits();
    void LoadSettings();
    void LoadHotKeys();
    void SaveHotKeys();
    void SaveSettings();
    bool ValidateHotKeys();
    // Asks about each changed hot key that another program has registered; false for a No.
    bool ConfirmHotKeysInUse();
    bool ApplySettings();

    // --- Web Links page and the default-link drop-down (src/app/ConfigFrmWebLinks.cpp) ---
    void LoadLinks();
    void SaveLinks();
    bool ValidateLinks();
    void ResetLinks();
    void FillLinkList();
    void SelectLink(int index);
    void ShowSelectedLink();
    void UpdateLinkLock();
    void MoveSelectedLink(int delta);
    void FillDefaultLinkCombo(const std::string& preferred);
    void LoadDefaultLink();

    // --- Programs page (src/app/ConfigFrmPrograms.cpp) ---
    void LoadPrograms();
    void SavePrograms();
    void FillProgramList();
    void UpdateProgramButtons();
    void ProgramAddButtonClick();
    void ProgramRemoveButtonClick();

    // --- The user's dictionaries ---
    // Opens the stored dictionaries anew, in the background; call after the stored list changed.
    void DictionariesChanged();

    // --- Dictionaries page (src/app/ConfigFrmDictionaries.cpp) ---
    void LoadDictionaries();
    void SaveDictionaries();
    // Opens the listed dictionaries not opened yet; the page shows them once it is shown.
    void DictionariesPageShown();
    void FillDictionaryList(int selected);
    void FitDictionaryColumns();
    void UpdateDictionaryButtons();
    void DictionaryAddButtonClick();
    void DictionaryRemoveButtonClick();
    void DictionaryMoveButtonClick(int delta);

    // --- Overview page, read-me and uninstall (src/app/ConfigFrmOverview.cpp) ---
    void OpenProgramFile(const std::string& name);

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
    // Returns true when the message was handled; a result for the sender goes to `result`.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void FormCreate();
    void FormDestroy();
    void RenewKeyboardHook();
    void FormShow();
    void FormHide();
    void CreatePages();
    void CaptureLayouts();
    void PlacePages();
    void SetHelpContexts();
    void ShowHelp(int context);

    // Message handlers.
    void OnHotKey(int index);
    void OnKeyComboCaptured(LPARAM combo);
    void OnTrayCallback(UINT mouseMessage);
    void OnClipboardChanged();
    LRESULT OnDrawClipboard();
    LRESULT OnChangeClipboardChain(HWND removed, HWND next);
    void OnCommand(int id);
    void OnHelp(const HELPINFO& info);
    void OnGetMinMaxInfo(MINMAXINFO& info);

    // Tray menu items and buttons.
    void PreferencesMenuItemClick();
    void AboutMenuItemClick();
    void HelpMenuItemClick();
    void EnabledMenuItemClick();
    void ExitWordlarkMenuItemClick();
    void OkButtonClick();
    void CancelButtonClick();
    void ApplyButtonClick();
    void HelpButtonClick();

    void ResetHotkeysButtonClick();
    void ShowPendingKeyCombo(int index);

    // Web Links page handlers.
    void InitWebLinksPage();
    void DefinedLinksListBoxClick();
    void WebLinkEditChange(HWND edit);
    void WebLinkUtf8CheckBoxClick();
    void WebLinkAddButtonClick();
    void WebLinkDeleteButtonClick();
    void WebLinkMoveUpButtonClick();
    void WebLinkMoveDownButtonClick();
    void ResetButtonClick();
    void MainPagesChange();
    std::string DefaultLinkComboText() const;

    // Overview page handlers.
    void InitOverviewPage();
    void SetTitleFont();
    void WebLinkLabelClicked(int labelId);
    void ReadMeTextLinkLabelClick();
    void UninstallButtonClick();

    // Dictionaries page handlers.
    void InitDictionariesPage();
    int SelectedDictionary() const;

    // Messages of the pages' controls, which the pages hand to the window.
    void OnPageCommand(int id, int code, HWND control);
    bool OnPageNotify(const NMHDR& header);
    HWND PageItem(TPage page, int id) const { return GetDlgItem(Pages[page], id); }
    std::string LoadText(UINT id) const;
    int ShowMessage(UINT captionId, const std::string& text, UINT flags) const;

    HWND Window = nullptr;
    bool HookStarted = false;
    bool SessionNotified = false;
    HINSTANCE Instance = nullptr;
    HWND MainPages = nullptr;
    HWND Pages[PageCount] = {};
    TAnchorLayout Layout;
    NOTIFYICONDATAA TrayIconData{};
    HICON MainIcon = nullptr; // shared resource icons: never destroyed
    HICON DisabledTrayIcon = nullptr;
    HWND NextClipboardViewer = nullptr;
    TMenu TrayMenuResource;
    HMENU TrayPopupMenu = nullptr; // the "Tray" sub-menu of TrayMenuResource
    UINT TaskbarCreatedMessage = 0;

    TAnchorLayout PageLayouts[PageCount];
    HWND HotKeyEdits[HotKeyCount] = {};
    TPendingKeyCombos PendingKeyCombos;
    TWorkingLinks WorkingLinks;
    TWorkingPrograms WorkingPrograms;
    TWorkingDictionaries WorkingDictionaries{MaxListedDictionaries};
    bool FillingLinkEdits = false; // the program, not the user, is changing the link edits
    TGdiObject TitleFont;
    TImageList MoveUpImages, MoveDownImages;
};
