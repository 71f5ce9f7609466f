// The Overview page: the program's name and version, its web site, the instructions beside the
// program, the English dictionary's licence where it came with the program, and the uninstaller
// that the installer registered.
#include "ConfigFrm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>
#include <vector>

#include "../common/Errors.h"
#include "../common/SimpleReg.h"
#include "ConfigFrmRes.h"
#include "UninstallCommand.h"

namespace {

constexpr const char* UninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneWordlark_is1";
constexpr const char* UninstallValue = "UninstallString";
constexpr const char* InstallLocationValue = "InstallLocation";
constexpr const char* UninstallParameters = "/SILENT";
constexpr const char* ReadMeFile = "readme.txt";
constexpr const char* DictionaryLicenceFile = "Dictionaries\\WordNet-license.txt";
constexpr UINT_PTR SpaceActivatesSubclass = 1;

// The link labels take Space like Enter, as buttons do.
LRESULT CALLBACK SpaceActivatesProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR) {
    if (message == WM_KEYDOWN && wParam == VK_SPACE) {
        NMHDR header{label, static_cast<UINT_PTR>(GetDlgCtrlID(label)), static_cast<UINT>(NM_RETURN)};
        SendMessageA(GetParent(label), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
        return 0;
    }
    if (message == WM_CHAR && wParam == ' ')
        return 0;
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(label, SpaceActivatesProc, SpaceActivatesSubclass);
    return DefSubclassProc(label, message, wParam, lParam);
}

bool FileExists(const std::string& path) {
    // Wildcards do not name a file here, and a folder does not count as one.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A value that is not text names nothing: the same answer as a missing one.
std::string UninstallText(HKEY root, const char* valueName) {
    try {
        return ASimpleReg::ReadString(root, UninstallKey, valueName);
    } catch (const TWordlarkError&) {
        return "";
    }
}

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of("\\/") + 1);
}

} // namespace

void TConfigForm::InitOverviewPage() {
    HWND page = Pages[OverviewPage];
    for (auto [id, textId] : {std::pair{IDC_WORDLARKWEBSITELABEL, IDS_WEBSITEADDRESS},
                              std::pair{IDC_SUPPORTSITELABEL, IDS_SUPPORTADDRESS}})
        SetControlUtf8Text(GetDlgItem(page, id), "<a>" + LoadText(textId) + "</a>");
    for (int id : {IDC_READMETEXTLINKLABEL, IDC_WORDLARKWEBSITELABEL, IDC_SUPPORTSITELABEL,
                   IDC_DICTIONARYLICENCELABEL})
        SetWindowSubclass(GetDlgItem(page, id), SpaceActivatesProc, SpaceActivatesSubclass, 0);
    // Installed without the English dictionary, or unzipped from a download without it: not named.
    if (!FileExists(ProgramFolder() + DictionaryLicenceFile))
        ShowWindow(GetDlgItem(page, IDC_DICTIONARYLICENCELABEL), SW_HIDE);

    SetTitleFont();
}

// The title in bold 12 point: one and a half times the page's 8-point font, so that it follows
// the page's scaling, also after a change of DPI.
void TConfigForm::SetTitleFont() {
    HWND page = Pages[OverviewPage];
    LOGFONTA font{};
    if (!GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(page, WM_GETFONT, 0, 0)), sizeof font, &font))
        return;
    font.lfHeight = MulDiv(font.lfHeight, 12, 8);
    font.lfWeight = FW_BOLD;
    TGdiObject previous = std::move(TitleFont);
    TitleFont = TGdiObject(CreateFontIndirectA(&font));
    SendDlgItemMessageA(page, IDC_LABEL6, WM_SETFONT, reinterpret_cast<WPARAM>(TitleFont.Get()), TRUE);
}

void TConfigForm::WebLinkLabelClicked(int labelId) {
    const std::string url =
        LoadText(labelId == IDC_SUPPORTSITELABEL ? IDS_SUPPORTADDRESS : IDS_WEBSITEADDRESS);
    Engine.LaunchUrl(LoadText(IDS_WEBSITEDESCRIPTION), url);
}

void TConfigForm::ReadMeTextLinkLabelClick() {
    OpenProgramFile(ReadMeFile);
}

void TConfigForm::OpenProgramFile(const std::string& name) {
    // A missing file or one without an associated program shows nothing.
    ShellExecuteA(nullptr, "open", (ProgramFolder() + name).c_str(), nullptr, nullptr, SW_SHOWMAXIMIZED);
}

// A per-user and a per-machine copy may both be installed: each running copy starts its own
// uninstaller, found by the folder that its entry names. A copy that no entry names (unzipped
// somewhere, say) falls back on the machine's entry, then the user's.
void TConfigForm::UninstallButtonClick() {
    std::vector<TUninstallEntry> entries;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        entries.push_back({UninstallText(root, InstallLocationValue), UninstallText(root, UninstallValue)});
    const std::string command = UninstallProgramPath(ChooseUninstallCommand(entries, ProgramFolder()));
    if (!FileExists(command)) {
        ShowMessage(IDS_UNINSTALLCAPTION, LoadText(IDS_UNINSTALLFAILED), MB_OK | MB_ICONERROR);
        return;
    }
    if (ShowMessage(IDS_UNINSTALLCAPTION, LoadText(IDS_UNINSTALLQUESTION), MB_YESNO | MB_ICONEXCLAMATION) !=
        IDYES)
        return;
    // The program ends first, so that the uninstaller does not meet it; it leaves the message loop
    // only after this handler returns.
    PostQuitMessage(0);
    ShellExecuteA(nullptr, "open", command.c_str(), UninstallParameters, nullptr, SW_SHOWNORMAL);
}

// --- Messages of the pages' controls ---

void TConfigForm::OnPageCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_RESETHOTKEYSBUTTON:
        ResetHotkeysButtonClick();
        break;
    case IDC_DEFINEDLINKSLISTBOX:
        if (code == LBN_SELCHANGE)
            DefinedLinksListBoxClick();
        break;
    case IDC_WEBLINKDESCRIPTIONEDIT:
    case IDC_WEBLINKBEFOREEDIT:
    case IDC_WEBLINKAFTEREDIT:
        if (code == EN_CHANGE)
            WebLinkEditChange(control);
        break;
    case IDC_WEBLINKUTF8CHECKBOX:
        if (code == BN_CLICKED)
            WebLinkUtf8CheckBoxClick();
        break;
    case IDC_WEBLINKADDBUTTON:
        WebLinkAddButtonClick();
        break;
    case IDC_WEBLINKDELETEBUTTON:
        WebLinkDeleteButtonClick();
        break;
    case IDC_WEBLINKMOVEUPBUTTON:
        WebLinkMoveUpButtonClick();
        break;
    case IDC_WEBLINKMOVEDOWNBUTTON:
        WebLinkMoveDownButtonClick();
        break;
    case IDC_RESETBUTTON:
        ResetButtonClick();
        break;
    case IDC_UNINSTALLBUTTON:
        UninstallButtonClick();
        break;
    case IDC_PROGRAMSLISTBOX:
        if (code == LBN_SELCHANGE)
            UpdateProgramButtons();
        break;
    case IDC_PROGRAMADDBUTTON:
        ProgramAddButtonClick();
        break;
    case IDC_PROGRAMREMOVEBUTTON:
        ProgramRemoveButtonClick();
        break;
    case IDC_DICTIONARYADDBUTTON:
        DictionaryAddButtonClick();
        break;
    case IDC_DICTIONARYREMOVEBUTTON:
        DictionaryRemoveButtonClick();
        break;
    case IDC_DICTIONARYMOVEUPBUTTON:
        DictionaryMoveButtonClick(-1);
        break;
    case IDC_DICTIONARYMOVEDOWNBUTTON:
        DictionaryMoveButtonClick(+1);
        break;
    }
}

bool TConfigForm::OnPageNotify(const NMHDR& header) {
    if (header.idFrom == IDC_DICTIONARIESLIST && header.code == LVN_ITEMCHANGED) {
        UpdateDictionaryButtons();
        return true;
    }
    if (header.code != static_cast<UINT>(NM_CLICK) && header.code != static_cast<UINT>(NM_RETURN))
        return false;
    switch (header.idFrom) {
    case IDC_READMETEXTLINKLABEL:
        ReadMeTextLinkLabelClick();
        return true;
    case IDC_DICTIONARYLICENCELABEL:
        OpenProgramFile(DictionaryLicenceFile);
        return true;
    case IDC_WORDLARKWEBSITELABEL:
    case IDC_SUPPORTSITELABEL:
        WebLinkLabelClicked(static_cast<int>(header.idFrom));
        return true;
    }
    return false;
}
