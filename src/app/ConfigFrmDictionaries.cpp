// The Dictionaries page: the dictionaries that Quick Lookup looks in first, in the order of the
// answers. The list itself lives in WorkingDictionaries; this code mirrors it in the list view,
// runs the Open dialog and opens the chosen files with the dictionary readers.
#include "ConfigFrm.h"

#include <algorithm>
#include <string>
#include <vector>

#include "../common/Errors.h"
#include "../common/Settings.h"
#include "../common/UnicodeText.h"
#include "../dict/Dictionary.h"
#include "ConfigFrmRes.h"
#include "OpenFilesDialog.h"

namespace {

enum TDictionaryColumn { NameColumn, HeadwordsColumn, FileColumn, ColumnCount };

class TSystemDictionaryFiles : public TDictionaryFiles {
public:
    bool Stamp(const std::wstring& path, TFileStamp& stamp) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        stamp.Size = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
        stamp.WriteTime = static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
                          data.ftLastWriteTime.dwLowDateTime;
        return true;
    }
    TDictionaryFacts Open(const std::wstring& path) override {
        TDictionaryFacts facts;
        const std::unique_ptr<TDictionary> dictionary = TDictionary::Open(Utf8FromUtf16(path), facts.Error);
        if (dictionary) {
            facts.Readable = true;
            facts.Name = dictionary->Name();
            facts.HeadwordCount = dictionary->HeadwordCount();
        }
        return facts;
    }
};

// The hourglass while the readers go through the indexes of large dictionaries.
class TWaitCursor {
public:
    TWaitCursor() : Previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
    ~TWaitCursor() { SetCursor(Previous); }

private:
    HCURSOR Previous;
};

// A headword count with the user's digit grouping ("147,311").
std::wstring CountText(std::size_t count) {
    const std::wstring digits = std::to_wstring(count);
    wchar_t separator[8] = L",";
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8);
    NUMBERFMTW format{0, 0, 3, const_cast<wchar_t*>(L"."), separator, 1};
    wchar_t text[64];
    return GetNumberFormatW(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, text, 64) > 0 ? text : digits;
}

void SetItemText(HWND list, int item, int column, const std::wstring& text) {
    LVITEMW cell{};
    cell.iSubItem = column;
    cell.pszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell));
}

} // namespace

void TConfigForm::InitDictionariesPage() {
    HWND list = PageItem(DictionariesPage, IDC_DICTIONARIESLIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP,
                 LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP);
    constexpr UINT Captions[ColumnCount] = {IDS_DICTIONARYNAMECOLUMN, IDS_DICTIONARYHEADWORDSCOLUMN,
                                            IDS_DICTIONARYFILECOLUMN};
    for (int column = 0; column < ColumnCount; ++column) {
        std::wstring caption = Utf16FromUtf8(LoadText(Captions[column]));
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM;
        header.fmt = column == HeadwordsColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
        header.pszText = caption.data();
        header.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
    }
    FitDictionaryColumns();
    UpdateDictionaryButtons();
}

// The list is read from the store each time the window is shown; the files are opened only when
// the page is in view, so that showing the window never waits for a large dictionary's index.
void TConfigForm::LoadDictionaries() {
    WorkingDictionaries.Assign(ASettings::GetDictionaries());
    if (TabCtrl_GetCurSel(MainPages) == DictionariesPage)
        DictionariesPageShown();
    else
        FillDictionaryList(0);
}

void TConfigForm::SaveDictionaries() {
    ASettings::SetDictionaries(WorkingDictionaries.Paths());
}

void TConfigForm::DictionariesPageShown() {
    const std::vector<TListedDictionary>& entries = WorkingDictionaries.Entries();
    bool undescribed = false;
    for (const TListedDictionary& entry : entries)
        undescribed = undescribed || !entry.Described;
    if (!undescribed)
        return;
    const int selected = SelectedDictionary();
    {
        TWaitCursor wait;
        TSystemDictionaryFiles files;
        WorkingDictionaries.Describe(files);
    }
    FillDictionaryList(selected < 0 ? 0 : selected);
}

void TConfigForm::FillDictionaryList(int selected) {
    HWND list = PageItem(DictionariesPage, IDC_DICTIONARIESLIST);
    const std::wstring missing = Utf16FromUtf8(LoadText(IDS_DICTIONARYMISSING));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    const std::vector<TListedDictionary>& entries = WorkingDictionaries.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const TListedDictionary& entry = entries[i];
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        std::wstring name = entry.Missing ? missing : Utf16FromUtf8(entry.Name);
        item.pszText = name.data();
        const auto at = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        if (at < 0)
            continue;
        if (entry.Described && !entry.Missing)
            SetItemText(list, static_cast<int>(at), HeadwordsColumn, CountText(entry.HeadwordCount));
        SetItemText(list, static_cast<int>(at), FileColumn, entry.Path);
    }
    if (!entries.empty()) {
        const int line =
            selected < static_cast<int>(entries.size()) ? selected : static_cast<int>(entries.size()) - 1;
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&state));
        SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(line), FALSE);
    }
    FitDictionaryColumns();
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateDictionaryButtons();
}

// Each column as wide as its widest line and its heading, in the list's font of the moment, but the
// names at most half the list, so that the files stay in view beside long names; the file column
// also fills the rest of the list's width. The heading is measured here: the list's own measure
// for it leaves the heading cut under Wine.
void TConfigForm::FitDictionaryColumns() {
    HWND list = PageItem(DictionariesPage, IDC_DICTIONARIESLIST);
    const auto width = [list](int column) {
        return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    };
    const auto setWidth = [list](int column, int value) {
        SendMessageW(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), value);
    };
    const auto textWidth = [list](const wchar_t* text) {
        return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
    };
    RECT room{};
    GetClientRect(list, &room);
    const int padding = textWidth(L"MMM"); // the heading's margins and divider, scaled with the font
    for (int column = 0; column < ColumnCount; ++column) {
        wchar_t caption[64] = L"";
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT;
        header.pszText = caption;
        header.cchTextMax = 64;
        SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&header));
        setWidth(column, LVSCW_AUTOSIZE);
        int needed = std::max(width(column), textWidth(caption) + padding);
        if (column == NameColumn)
            needed = std::min(needed, std::max<int>(room.right / 2, textWidth(caption) + padding));
        if (column == FileColumn)
            setWidth(column, LVSCW_AUTOSIZE_USEHEADER); // up to the list's right edge
        setWidth(column, std::max(needed, column == FileColumn ? width(column) : 0));
    }
}

int TConfigForm::SelectedDictionary() const {
    return static_cast<int>(SendDlgItemMessageW(Pages[DictionariesPage], IDC_DICTIONARIESLIST,
                                                LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TConfigForm::UpdateDictionaryButtons() {
    const int selected = SelectedDictionary();
    HWND list = PageItem(DictionariesPage, IDC_DICTIONARIESLIST);
    const std::pair<int, bool> buttons[] = {
        {IDC_DICTIONARYREMOVEBUTTON, selected >= 0},
        {IDC_DICTIONARYMOVEUPBUTTON, WorkingDictionaries.CanMove(selected, -1)},
        {IDC_DICTIONARYMOVEDOWNBUTTON, WorkingDictionaries.CanMove(selected, +1)}};
    for (const auto& [id, enabled] : buttons) {
        HWND button = PageItem(DictionariesPage, id);
        // A button that is about to be disabled must not keep the focus, or the keyboard loses it.
        if (!enabled && GetFocus() == button)
            SetFocus(list);
        EnableWindow(button, enabled);
    }
}

void TConfigForm::DictionaryAddButtonClick() {
    const std::vector<std::wstring> chosen = ChooseFilesToOpen(Window, LoadText(IDS_DICTIONARIESFILTER));
    if (chosen.empty())
        return; // the list stays as it was
    const int before = static_cast<int>(WorkingDictionaries.Entries().size());
    TDictionaryAddResult result;
    {
        TWaitCursor wait;
        TSystemDictionaryFiles files;
        result = WorkingDictionaries.Add(chosen, files);
    }
    // The last one added is selected, so that it can be moved into place at once.
    FillDictionaryList(result.Added > 0 ? before + result.Added - 1 : SelectedDictionary());
    if (!result.Refused.empty()) {
        std::string text =
            LoadText(result.Refused.size() == 1 ? IDS_DICTIONARYNOTADDED : IDS_DICTIONARIESNOTADDED);
        for (const TDictionaryRefusal& refusal : result.Refused)
            text += "\r\n\r\n" + Utf8FromUtf16(refusal.Path) + "\r\n" + refusal.Error;
        ShowMessage(IDS_DICTIONARYNOTADDEDCAPTION, text, MB_OK | MB_ICONERROR);
    }
    if (result.TooMany > 0)
        ShowMessage(
            IDS_DICTIONARIESCAPTION,
            FormatNamed(LoadText(IDS_TOOMANYDICTIONARIES).c_str(), std::to_string(MaxListedDictionaries)),
            MB_OK | MB_ICONWARNING);
}

void TConfigForm::DictionaryRemoveButtonClick() {
    const int selected = SelectedDictionary();
    if (selected < 0)
        return;
    WorkingDictionaries.Remove(selected);
    // The entry that took its place, or the new last one.
    FillDictionaryList(selected);
}

void TConfigForm::DictionaryMoveButtonClick(int delta) {
    const int selected = SelectedDictionary();
    if (WorkingDictionaries.Move(selected, delta))
        FillDictionaryList(selected + delta);
}
