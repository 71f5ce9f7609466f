// The Programs page: the programs in which the hot keys are off. The list itself lives in
// WorkingPrograms; this code mirrors it in the list box and runs the Open dialog.
#include "ConfigFrm.h"

#include <string>
#include <vector>

#include "../common/CaptionFit.h"
#include "../common/Errors.h"
#include "../common/ProgramNames.h"
#include "../common/Settings.h"
#include "../common/UnicodeText.h"
#include "ConfigFrmRes.h"
#include "OpenFilesDialog.h"

void TConfigForm::LoadPrograms() {
    WorkingPrograms.Assign(ASettings::GetPrograms());
    FillProgramList();
}

void TConfigForm::SavePrograms() {
    ASettings::SetPrograms(WorkingPrograms.Names());
}

void TConfigForm::FillProgramList() {
    HWND list = PageItem(ProgramsPage, IDC_PROGRAMSLISTBOX);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : WorkingPrograms.Names())
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    FitListExtent(list);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateProgramButtons();
}

void TConfigForm::UpdateProgramButtons() {
    HWND list = PageItem(ProgramsPage, IDC_PROGRAMSLISTBOX);
    HWND remove = PageItem(ProgramsPage, IDC_PROGRAMREMOVEBUTTON);
    const bool selected = SendMessageW(list, LB_GETSELCOUNT, 0, 0) > 0;
    // A button that is about to be disabled must not keep the focus, or the keyboard loses it.
    if (!selected && GetFocus() == remove)
        SetFocus(list);
    EnableWindow(remove, selected);
}

void TConfigForm::ProgramAddButtonClick() {
    const std::vector<std::wstring> chosen = ChooseFilesToOpen(Window, LoadText(IDS_PROGRAMSFILTER), L"exe");
    if (chosen.empty())
        return; // the list stays as it was
    const int before = static_cast<int>(WorkingPrograms.Names().size());
    const int refused = WorkingPrograms.Add(chosen);
    FillProgramList();
    HWND list = PageItem(ProgramsPage, IDC_PROGRAMSLISTBOX);
    // The new entries are selected, so that a wrong choice is removed at once.
    const int after = static_cast<int>(WorkingPrograms.Names().size());
    if (after > before)
        SendMessageW(list, LB_SELITEMRANGEEX, static_cast<WPARAM>(before), after - 1);
    SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(after > before ? after - 1 : 0), FALSE);
    UpdateProgramButtons();
    if (refused > 0)
        ShowMessage(IDS_PROGRAMSCAPTION,
                    FormatNamed(LoadText(IDS_TOOMANYPROGRAMS).c_str(), std::to_string(MaxListedPrograms)),
                    MB_OK | MB_ICONWARNING);
}

void TConfigForm::ProgramRemoveButtonClick() {
    HWND list = PageItem(ProgramsPage, IDC_PROGRAMSLISTBOX);
    const auto count = SendMessageW(list, LB_GETSELCOUNT, 0, 0);
    if (count <= 0)
        return;
    std::vector<int> selected(static_cast<std::size_t>(count));
    const auto got = SendMessageW(list, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                  reinterpret_cast<LPARAM>(selected.data()));
    selected.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    const int first = selected.empty() ? 0 : selected.front();
    WorkingPrograms.Remove(selected);
    FillProgramList();
    // The entry that took the first removed one's place, or the new last one, is selected.
    const int remaining = static_cast<int>(WorkingPrograms.Names().size());
    if (remaining > 0) {
        const int line = first < remaining ? first : remaining - 1;
        SendMessageW(list, LB_SETSEL, TRUE, line);
        SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(line), FALSE);
    }
    UpdateProgramButtons();
}
