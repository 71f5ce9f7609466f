// The Web Links page and the Quick Lookup drop-down that lists the same links. The list itself
// lives in WorkingLinks; this code only mirrors it in the controls and asks the user's questions.
#include "ConfigFrm.h"

#include <commctrl.h>

#include "../common/CaptionFit.h"
#include "../common/Errors.h"
#include "../common/Settings.h"
#include "../common/UnicodeText.h"
#include "ConfigFrmRes.h"

namespace {

// Every control of the details group, the group first.
constexpr int LinkDetailIds[] = {
    IDC_EDITWEBLINKGROUPBOX,   IDC_WEBLINKDESCRIPTIONLABEL, IDC_WEBLINKDESCRIPTIONEDIT,
    IDC_WEBLINKURLBEFORELABEL, IDC_WEBLINKBEFOREEDIT,       IDC_WORDLABEL,
    IDC_WEBLINKURLAFTERLABEL,  IDC_WEBLINKAFTEREDIT,        IDC_WEBLINKUTF8CHECKBOX};
constexpr int LinkEditIds[] = {IDC_WEBLINKDESCRIPTIONEDIT, IDC_WEBLINKBEFOREEDIT, IDC_WEBLINKAFTEREDIT};

constexpr int ArrowSize = 16;

// Whether a pixel belongs to the arrow: a triangle in rows 4 to 10 (up) or 5 to 11 (down).
bool InArrow(bool up, int row, int column) {
    const int height = up ? row - 4 : 11 - row;
    return height >= 0 && height <= 6 && column >= 7 - height && column <= 8 + height;
}

// Adds one arrow image in the colour to the list, on a ground that the list makes transparent.
void AddArrow(HIMAGELIST list, bool up, COLORREF colour) {
    constexpr DWORD Ground = 0x00FF00FF; // magenta, the same value as a DIB pixel and a COLORREF
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, ArrowSize, -ArrowSize, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    TGdiObject bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bits)
        return;
    const DWORD pixel =
        static_cast<DWORD>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    auto* pixels = static_cast<DWORD*>(bits);
    for (int row = 0; row < ArrowSize; ++row)
        for (int column = 0; column < ArrowSize; ++column)
            pixels[row * ArrowSize + column] = InArrow(up, row, column) ? pixel : Ground;
    ImageList_AddMasked(list, static_cast<HBITMAP>(bitmap.Get()), Ground);
}

void AddHint(HWND tooltip, HWND page, HWND control, const std::string& text) {
    std::wstring wide = Utf16FromUtf8(text);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = page;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = wide.data(); // copied by the tool tip
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The list's and the drop-down's lines are the descriptions in any script: wide messages.
LRESULT SendText(HWND control, UINT message, WPARAM index, const std::string& text) {
    return SendMessageW(control, message, index, reinterpret_cast<LPARAM>(Utf16FromUtf8(text).c_str()));
}

} // namespace

void TConfigForm::InitWebLinksPage() {
    HWND page = Pages[WebLinksPage];
    // An image list, not BM_SETIMAGE: the version 6 buttons draw it centred, with an image for
    // each state (normal, hot, pressed, disabled, default, stylus hot); the disabled one is grey.
    for (auto [id, up] :
         {std::pair{IDC_WEBLINKMOVEUPBUTTON, true}, std::pair{IDC_WEBLINKMOVEDOWNBUTTON, false}}) {
        TImageList& images = up ? MoveUpImages : MoveDownImages;
        images = TImageList(ImageList_Create(ArrowSize, ArrowSize, ILC_COLOR32 | ILC_MASK, 6, 0));
        for (int state = 0; state < 6; ++state)
            AddArrow(images.Get(), up, GetSysColor(state == 3 ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        BUTTON_IMAGELIST list{images.Get(), {0, 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_CENTER};
        SendDlgItemMessageA(page, id, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
    }
    // Owned by the window, the tool tip goes with it.
    HWND tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0,
                                   0, Window, nullptr, Instance, nullptr);
    AddHint(tooltip, page, GetDlgItem(page, IDC_WEBLINKMOVEUPBUTTON), LoadText(IDS_MOVEUPHINT));
    AddHint(tooltip, page, GetDlgItem(page, IDC_WEBLINKMOVEDOWNBUTTON), LoadText(IDS_MOVEDOWNHINT));
    // Long descriptions and addresses stay whole: no typing limit below the system's own.
    for (int id : LinkEditIds)
        SendDlgItemMessageA(page, id, EM_SETLIMITTEXT, 0, 0);
}

void TConfigForm::LoadLinks() {
    WorkingLinks.Assign(ASettings::GetLinks());
    FillLinkList();
}

void TConfigForm::SaveLinks() {
    const std::vector<TWebLink>& links = WorkingLinks.Links();
    ASettings::SetLinkCount(static_cast<int>(links.size()));
    for (size_t i = 0; i < links.size(); ++i)
        ASettings::WriteLink(static_cast<int>(i), links[i]);
}

bool TConfigForm::ValidateLinks() {
    const TLinkProblem problem = FindLinkProblem(WorkingLinks.Links());
    if (!problem)
        return true;
    SelectPage(WebLinksPage);
    SelectLink(problem.Index);
    // Through the dialog manager, which also selects the text, so that typing replaces it. The
    // description of a predefined link is greyed: then the list takes the focus.
    HWND description = PageItem(WebLinksPage, IDC_WEBLINKDESCRIPTIONEDIT);
    SendMessageA(Window, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(IsWindowEnabled(description)
                                              ? description
                                              : PageItem(WebLinksPage, IDC_DEFINEDLINKSLISTBOX)),
                 TRUE);
    const std::string text = problem.Error == TLinkError::NoDescription
                                 ? LoadText(IDS_NODESCRIPTION)
                                 : FormatNamed(LoadText(IDS_DUPLICATEDESCRIPTION).c_str(),
                                               WorkingLinks.SelectedLink().Description);
    ShowMessage(IDS_WEBLINKSCAPTION, text, MB_OK | MB_ICONERROR);
    return false;
}

void TConfigForm::ResetLinks() {
    WorkingLinks.Reset();
}

void TConfigForm::FillLinkList() {
    HWND list = PageItem(WebLinksPage, IDC_DEFINEDLINKSLISTBOX);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const TWebLink& link : WorkingLinks.Links())
        SendText(list, LB_ADDSTRING, 0, link.Description);
    FitListExtent(list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SelectLink(0);
}

void TConfigForm::SelectLink(int index) {
    WorkingLinks.Select(index);
    SendDlgItemMessageA(Pages[WebLinksPage], IDC_DEFINEDLINKSLISTBOX, LB_SETCURSEL,
                        static_cast<WPARAM>(WorkingLinks.Selected()), 0);
    ShowSelectedLink();
}

void TConfigForm::ShowSelectedLink() {
    HWND page = Pages[WebLinksPage];
    const auto line = SendDlgItemMessageA(page, IDC_DEFINEDLINKSLISTBOX, LB_GETCURSEL, 0, 0);
    if (line != LB_ERR) {
        WorkingLinks.Select(static_cast<int>(line));
        const TWebLink& link = WorkingLinks.SelectedLink();
        // Filling the edits is not an edit of the link: WebLinkEditChange must not write it back.
        FillingLinkEdits = true;
        SetControlUtf8Text(GetDlgItem(page, IDC_WEBLINKDESCRIPTIONEDIT), link.Description);
        SetControlUtf8Text(GetDlgItem(page, IDC_WEBLINKBEFOREEDIT), link.UrlBefore);
        SetControlUtf8Text(GetDlgItem(page, IDC_WEBLINKAFTEREDIT), link.UrlAfter);
        FillingLinkEdits = false;
        CheckDlgButton(page, IDC_WEBLINKUTF8CHECKBOX,
                       link.Encoding == TLinkEncoding::Utf8 ? BST_CHECKED : BST_UNCHECKED);
    }
    UpdateLinkLock();
    EnableWindow(GetDlgItem(page, IDC_WEBLINKMOVEUPBUTTON), line != LB_ERR && WorkingLinks.CanMoveUp());
    EnableWindow(GetDlgItem(page, IDC_WEBLINKMOVEDOWNBUTTON), line != LB_ERR && WorkingLinks.CanMoveDown());
}

void TConfigForm::UpdateLinkLock() {
    HWND page = Pages[WebLinksPage];
    const bool locked = WorkingLinks.SelectedLink().Locked;
    // A button that is about to be disabled must not keep the focus, or the keyboard loses it.
    const HWND focus = GetFocus();
    for (int id : LinkDetailIds)
        EnableWindow(GetDlgItem(page, id), !locked);
    ShowWindow(GetDlgItem(page, IDC_PREDEFINEDLINKLABEL), locked ? SW_SHOWNA : SW_HIDE);
    EnableWindow(GetDlgItem(page, IDC_WEBLINKDELETEBUTTON), !locked);
    if (focus && !IsWindowEnabled(focus) && IsChild(page, focus))
        SetFocus(GetDlgItem(page, IDC_DEFINEDLINKSLISTBOX));
}

void TConfigForm::DefinedLinksListBoxClick() {
    ShowSelectedLink();
}

void TConfigForm::WebLinkEditChange(HWND edit) {
    // Only what the user types counts: the program's own filling, or an edit that lost the focus
    // to a button pressed by its accelerator, never writes into the selected link.
    if (FillingLinkEdits || GetFocus() != edit)
        return;
    HWND page = Pages[WebLinksPage];
    WorkingLinks.EditSelected(ControlUtf8Text(GetDlgItem(page, IDC_WEBLINKDESCRIPTIONEDIT)),
                              ControlUtf8Text(GetDlgItem(page, IDC_WEBLINKBEFOREEDIT)),
                              ControlUtf8Text(GetDlgItem(page, IDC_WEBLINKAFTEREDIT)));
    HWND list = GetDlgItem(page, IDC_DEFINEDLINKSLISTBOX);
    const auto line = static_cast<WPARAM>(WorkingLinks.Selected());
    SendMessageA(list, LB_DELETESTRING, line, 0);
    SendText(list, LB_INSERTSTRING, line, WorkingLinks.SelectedLink().Description);
    SendMessageA(list, LB_SETCURSEL, line, 0);
    FitListExtent(list);
}

void TConfigForm::WebLinkUtf8CheckBoxClick() {
    const bool utf8 = IsDlgButtonChecked(Pages[WebLinksPage], IDC_WEBLINKUTF8CHECKBOX) == BST_CHECKED;
    WorkingLinks.SetSelectedEncoding(utf8 ? TLinkEncoding::Utf8 : TLinkEncoding::CodePage);
}

void TConfigForm::WebLinkAddButtonClick() {
    WorkingLinks.Add();
    SendDlgItemMessageA(Pages[WebLinksPage], IDC_DEFINEDLINKSLISTBOX, LB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(""));
    SelectLink(WorkingLinks.Count() - 1);
    SendMessageA(Window, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(PageItem(WebLinksPage, IDC_WEBLINKDESCRIPTIONEDIT)), TRUE);
}

void TConfigForm::WebLinkDeleteButtonClick() {
    if (WorkingLinks.SelectedLink().Locked)
        return;
    const std::string question =
        FormatNamed(LoadText(IDS_DELETELINKQUESTION).c_str(), WorkingLinks.SelectedLink().Description);
    if (ShowMessage(IDS_DELETELINKCAPTION, question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    HWND list = PageItem(WebLinksPage, IDC_DEFINEDLINKSLISTBOX);
    const int removed = WorkingLinks.Selected();
    WorkingLinks.DeleteSelected();
    SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(removed), 0);
    if (SendMessageA(list, LB_GETCOUNT, 0, 0) == 0)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    FitListExtent(list);
    SelectLink(WorkingLinks.Selected());
    // The Delete button may now be disabled (a predefined link took the place).
    if (!IsWindowEnabled(PageItem(WebLinksPage, IDC_WEBLINKDELETEBUTTON)))
        SetFocus(list);
}

void TConfigForm::MoveSelectedLink(int delta) {
    const int from = WorkingLinks.Selected();
    if (!WorkingLinks.MoveSelected(delta))
        return;
    HWND list = PageItem(WebLinksPage, IDC_DEFINEDLINKSLISTBOX);
    const std::vector<TWebLink>& links = WorkingLinks.Links();
    for (int line : {from, from + delta}) {
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(line), 0);
        SendText(list, LB_INSERTSTRING, static_cast<WPARAM>(line),
                 links[static_cast<size_t>(line)].Description);
    }
    SelectLink(from + delta);
    // At the end of the list the pressed button is disabled; the keyboard stays in the list.
    if (!IsWindowEnabled(GetFocus()))
        SetFocus(list);
}

void TConfigForm::WebLinkMoveUpButtonClick() {
    MoveSelectedLink(-1);
}

void TConfigForm::WebLinkMoveDownButtonClick() {
    MoveSelectedLink(+1);
}

void TConfigForm::ResetButtonClick() {
    if (ShowMessage(IDS_RESETLINKSCAPTION, LoadText(IDS_RESETLINKSQUESTION),
                    MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK)
        return;
    ResetLinks();
    FillLinkList();
}

std::string TConfigForm::DefaultLinkComboText() const {
    return ControlUtf8Text(PageItem(HotKeysPage, IDC_DEFAULTWEBLINKCOMBOBOX));
}

void TConfigForm::FillDefaultLinkCombo(const std::string& preferred) {
    HWND combo = PageItem(HotKeysPage, IDC_DEFAULTWEBLINKCOMBOBOX);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (const TWebLink& link : WorkingLinks.Links())
        SendText(combo, CB_ADDSTRING, 0, link.Description);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(ChooseDefaultLink(WorkingLinks.Links(), preferred)),
                 0);
}

void TConfigForm::LoadDefaultLink() {
    FillDefaultLinkCombo(ASettings::GetDefaultLink());
}

// Only the user's own page changes refresh the drop-down; validation and "About" do not.
void TConfigForm::MainPagesChange() {
    if (TabCtrl_GetCurSel(MainPages) == HotKeysPage)
        FillDefaultLinkCombo(DefaultLinkComboText());
}
