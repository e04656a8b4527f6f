#include "framework/platform/win32/ui/WinFileDialog.h"

#include <cwchar>
#include <string>

#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinUiShared.h"

#include <commdlg.h>

namespace {

// The filter pairs as the dialog takes them: each text and pattern ended
// by a NUL, and one more NUL after the last.
std::wstring FilterList(const std::vector<RkFileFilter>& filters)
{
    std::wstring list;
    for (const RkFileFilter& filter : filters) {
        list += ToWide(filter.text);
        list += L'\0';
        list += ToWide(filter.pattern);
        list += L'\0';
    }
    list += L'\0';
    return list;
}

// The ending a typed name without one gets in a save dialog: that of the
// chosen filter's pattern when it is a plain "*.ext".
std::wstring DefaultExtension(const std::vector<RkFileFilter>& filters, uint32_t index)
{
    if (index >= filters.size())
        return {};
    const std::wstring pattern = ToWide(filters[index].pattern);
    if (pattern.size() < 3 || pattern.compare(0, 2, L"*.") != 0)
        return {};
    const std::wstring ending = pattern.substr(2);
    if (ending.find_first_of(L"*?;.") != std::wstring::npos)
        return {};
    return ending;
}

} // namespace

bool CRkWinFileDialogImp::Run(uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                              uint32_t preselected, CRkString& chosenPath)
{
    chosenPath.Empty();
    const std::wstring filterList = FilterList(filters);
    const std::wstring caption = ToWide(title);
    const uint32_t index = preselected < filters.size() ? preselected : 0;
    const std::wstring extension = DefaultExtension(filters, index);
    std::wstring path(kMaxFileDialogPath, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveFrameworkWindow();
    dialog.lpstrFilter = filters.empty() ? nullptr : filterList.c_str();
    dialog.nFilterIndex = filters.empty() ? 0 : index + 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = DWORD(path.size());
    dialog.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    BOOL confirmed = FALSE;
    if (kind == kFileDialogSave) {
        dialog.Flags |= OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
        confirmed = ::GetSaveFileNameW(&dialog);
    } else {
        dialog.Flags |= OFN_FILEMUSTEXIST;
        confirmed = ::GetOpenFileNameW(&dialog);
    }
    // Cancelled, or the dialog failed (CommDlgExtendedError says why).
    if (!confirmed)
        return false;
    AssignWide(chosenPath, path.c_str(), std::wcslen(path.c_str()));
    return !chosenPath.IsEmpty();
}

IRkFileDialogImp* CreateWinFileDialog()
{
    return new CRkWinFileDialogImp();
}
