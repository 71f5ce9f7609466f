// The Hot Keys page, and the load, validate and save sequences that tie all pages together.
// The window works on copies (PendingKeyCombos, WorkingLinks, WorkingPrograms, WorkingDictionaries)
// that only Apply and OK write back.
#include "ConfigFrm.h"

#include "../common/Errors.h"
#include "../common/Settings.h"
#include "../lookup/CodePageText.h"
#include "ConfigFrmRes.h"

namespace {

constexpr int HotKeyEditIds[HotKeyCount] = {IDC_QUICKLOOKUPHOTKEYEDIT, IDC_MENULOOKUPHOTKEYEDIT,
                                            IDC_EDITLOOKUPHOTKEYEDIT};

void SetChecked(HWND window, int id, bool checked) {
    CheckDlgButton(window, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

// Whether another program holds the combination as a system-wide hot key: registering it here
// fails for that reason alone. A registration that succeeds is released at once.
bool HeldByAnotherProgram(HWND window, TKeyCombo combo) {
    constexpr int ProbeId = 0xBFFF; // the highest id an application may use
    const std::uint8_t modifiers = combo.Modifiers();
    const UINT flags = ((modifiers & ModCtrl) ? MOD_CONTROL : 0) | ((modifiers & ModAlt) ? MOD_ALT : 0) |
                       ((modifiers & ModShift) ? MOD_SHIFT : 0) | ((modifiers & ModWin) ? MOD_WIN : 0);
    if (RegisterHotKey(window, ProbeId, flags, combo.VirtualKey())) {
        UnregisterHotKey(window, ProbeId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

} // namespace

void TConfigForm::InitHotKeyEdits() {
    for (int i = 0; i < HotKeyCount; ++i)
        HotKeyEdits[i] = PageItem(HotKeysPage, HotKeyEditIds[i]);
}

void TConfigForm::ShowPendingKeyCombo(int index) {
    HWND edit = HotKeyEdits[index];
    SetWindowTextA(edit, KeyComboToText(PendingKeyCombos.Combos[index]).c_str());
    const int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
}

void TConfigForm::LoadSettings() {
    SetChecked(Window, IDC_ENABLEWORDLARKCHECKBOX, ASettings::GetEnabled());
    LoadHotKeys();
    SetChecked(Window, IDC_NEWBROWSERWINDOWCHECKBOX, ASettings::GetOpenInNewBrowser());
    LoadLinks();
    LoadDefaultLink();
    LoadPrograms();
    LoadDictionaries();
}

void TConfigForm::LoadHotKeys() {
    for (int i = 0; i < HotKeyCount; ++i) {
        PendingKeyCombos.Combos[i] = ASettings::GetKeyCombo(i);
        ShowPendingKeyCombo(i);
    }
}

void TConfigForm::SaveHotKeys() {
    for (int i = 0; i < HotKeyCount; ++i)
        ASettings::SetKeyCombo(i, PendingKeyCombos.Combos[i]);
}

void TConfigForm::SaveSettings() {
    SaveHotKeys();
    ASettings::SetOpenInNewBrowser(IsDlgButtonChecked(Window, IDC_NEWBROWSERWINDOWCHECKBOX) == BST_CHECKED);
    SaveLinks();
    SavePrograms();
    SaveDictionaries();
    // Opened in the background now, so that the next lookup does not wait for them.
    DictionariesChanged();
    // The refill makes the stored name an existing link: a chosen description that is gone
    // leaves the first link as the default.
    FillDefaultLinkCombo(DefaultLinkComboText());
    ASettings::SetDefaultLink(DefaultLinkComboText());
}

bool TConfigForm::ValidateHotKeys() {
    const TDuplicateHotKeys duplicate = PendingKeyCombos.FindDuplicate();
    if (!duplicate)
        return true;
    SelectPage(HotKeysPage);
    // Key names come from the layout in the code page; the message box takes UTF-8.
    const std::string combo = Utf8FromAnsi(KeyComboToText(PendingKeyCombos.Combos[duplicate.First]));
    ShowMessage(IDS_KEYCOMBOSCAPTION, FormatNamed(LoadText(IDS_DUPLICATEHOTKEY).c_str(), combo),
                MB_OK | MB_ICONERROR);
    return false;
}

// Only a combination that this Apply would change is asked about: one kept before is not asked again.
bool TConfigForm::ConfirmHotKeysInUse() {
    for (int i = 0; i < HotKeyCount; ++i) {
        const TKeyCombo combo = PendingKeyCombos.Combos[i];
        if (combo.Value == ASettings::GetKeyCombo(i).Value || !HeldByAnotherProgram(Window, combo))
            continue;
        const std::string text = Utf8FromAnsi(KeyComboToText(combo));
        if (ShowMessage(IDS_HOTKEYINUSECAPTION, FormatNamed(LoadText(IDS_HOTKEYINUSE).c_str(), text),
                        MB_YESNO | MB_ICONWARNING) != IDYES) {
            SelectPage(HotKeysPage);
            return false;
        }
    }
    return true;
}

bool TConfigForm::ApplySettings() {
    // Every check comes before any write: a refused Apply leaves every store as it was.
    if (!ValidateHotKeys() || !ValidateLinks() || !ConfirmHotKeysInUse())
        return false;
    SaveSettings();
    ASettings::SetEnabled(IsDlgButtonChecked(Window, IDC_ENABLEWORDLARKCHECKBOX) == BST_CHECKED);
    UpdateTrayIcon();
    return true;
}

// The hook posts every combination it does not ignore while this window is in front; only a
// focused hot-key edit takes it. The key itself also reaches that edit, which is read-only.
void TConfigForm::OnKeyComboCaptured(LPARAM combo) {
    const HWND focus = GetFocus();
    for (int i = 0; i < HotKeyCount; ++i)
        if (focus && focus == HotKeyEdits[i]) {
            PendingKeyCombos.Combos[i] = TKeyCombo{static_cast<std::uint32_t>(combo)};
            ShowPendingKeyCombo(i);
        }
}

void TConfigForm::ResetHotkeysButtonClick() {
    if (ShowMessage(IDS_RESETHOTKEYSCAPTION, LoadText(IDS_RESETHOTKEYSQUESTION),
                    MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    PendingKeyCombos.Reset();
    for (int i = 0; i < HotKeyCount; ++i)
        ShowPendingKeyCombo(i);
    SendDlgItemMessageA(Pages[HotKeysPage], IDC_DEFAULTWEBLINKCOMBOBOX, CB_SETCURSEL, 0, 0);
}
