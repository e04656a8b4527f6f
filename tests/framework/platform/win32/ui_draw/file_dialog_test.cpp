// The open and save dialogs, answered as a person would: the file name
// typed into the dialog and OK or Cancel pressed.
#include "framework/platform/win32/Win32Api.h"

#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestComponentWindows.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinFileDialog.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

// What the answering timer saw of the dialog and what it does.
struct DialogAnswer {
    std::wstring name; // typed into the file name box; empty: Cancel
    bool seen = false;
    HWND owner = nullptr;
    std::wstring title;
    std::vector<std::wstring> types;
    int selectedType = -1;
};
DialogAnswer* g_answer = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && ::IsWindowVisible(window)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Run by the dialog's own modal loop: a thread timer.
void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!g_answer || g_answer->seen)
        return;
    HWND dialog = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindDialog, LPARAM(&dialog));
    if (!dialog)
        return;
    DialogAnswer& answer = *g_answer;
    answer.seen = true;
    ::KillTimer(nullptr, timer);
    answer.owner = ::GetWindow(dialog, GW_OWNER);
    wchar_t text[256] = {};
    ::GetWindowTextW(dialog, text, 256);
    answer.title = text;
    HWND types = ::GetDlgItem(dialog, cmb1);
    const LRESULT count = ::SendMessageW(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring type(size_t(::SendMessageW(types, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1, L'\0');
        ::SendMessageW(types, CB_GETLBTEXT, WPARAM(i), LPARAM(type.data()));
        type.resize(type.size() - 1);
        answer.types.push_back(type);
    }
    answer.selectedType = int(::SendMessageW(types, CB_GETCURSEL, 0, 0));
    if (answer.name.empty()) {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), LPARAM(::GetDlgItem(dialog, IDCANCEL)));
        return;
    }
    HWND nameBox = ::GetDlgItem(dialog, edt1);
    if (!nameBox)
        nameBox = ::GetDlgItem(dialog, cmb13);
    ::SetWindowTextW(nameBox, answer.name.c_str());
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(::GetDlgItem(dialog, IDOK)));
}

bool RunAnswered(DialogAnswer& answer, uint32_t kind, const CRkString& title, const std::vector<RkFileFilter>& filters,
                 uint32_t preselected, CRkString& chosen, IRkFileDialogImp* given = nullptr)
{
    g_answer = &answer;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, AnswerDialog);
    CRkWinFileDialogImp own;
    IRkFileDialogImp& dialog = given ? *given : own;
    const bool confirmed = dialog.Run(kind, title, filters, preselected, chosen);
    ::KillTimer(nullptr, timer);
    g_answer = nullptr;
    return confirmed;
}

class WinFileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"vx_file_dialog_" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder.c_str(), nullptr);
        source = folder + L"\\tale.lml";
        HANDLE file = ::CreateFileW(source.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ::CloseHandle(file);
        owner = CreateTestWindow(200, 100);
        SetTestActiveWindow(owner);
    }
    void TearDown() override
    {
        SetTestActiveWindow(nullptr);
        ::DestroyWindow(owner);
        ::DeleteFileW(source.c_str());
        ::RemoveDirectoryW(folder.c_str());
        PumpMessages();
    }

    std::wstring folder;
    std::wstring source;
    HWND owner = nullptr;
    const std::vector<RkFileFilter> filters{{CRkString(u"LML Files (*.lml)"), CRkString(u"*.lml")},
                                            {CRkString(u"Text Files (*.txt)"), CRkString(u"*.txt")},
                                            {CRkString(u"All Files (*.*)"), CRkString(u"*.*")}};
};

TEST_F(WinFileDialog, OpenShowsTheFiltersAndGivesTheChosenFile)
{
    DialogAnswer answer;
    answer.name = source;
    CRkString chosen;
    ASSERT_TRUE(RunAnswered(answer, kFileDialogOpen, CRkString(u"Open Book Source"), filters, 1, chosen));
    ASSERT_TRUE(answer.seen);
    EXPECT_EQ(ToWide(chosen), source);
    EXPECT_EQ(answer.owner, owner);
    EXPECT_EQ(answer.title, L"Open Book Source");
    EXPECT_EQ(answer.types,
              (std::vector<std::wstring>{L"LML Files (*.lml)", L"Text Files (*.txt)", L"All Files (*.*)"}));
    EXPECT_EQ(answer.selectedType, 1);
}

TEST_F(WinFileDialog, CancelGivesNoFile)
{
    DialogAnswer answer;
    CRkString chosen(u"left over");
    EXPECT_FALSE(RunAnswered(answer, kFileDialogOpen, CRkString(), filters, 0, chosen));
    EXPECT_TRUE(answer.seen);
    EXPECT_TRUE(chosen.IsEmpty());
    EXPECT_EQ(answer.selectedType, 0);
}

TEST_F(WinFileDialog, SaveAddsTheEndingOfTheChosenFilter)
{
    DialogAnswer answer;
    answer.name = folder + L"\\new book";
    const std::vector<RkFileFilter> books{{CRkString(u"Books (*.ldb)"), CRkString(u"*.ldb")}};
    CRkString chosen;
    ASSERT_TRUE(RunAnswered(answer, kFileDialogSave, CRkString(u"Save"), books, 0, chosen));
    EXPECT_EQ(ToWide(chosen), folder + L"\\new book.ldb");
    EXPECT_EQ(answer.types, (std::vector<std::wstring>{L"Books (*.ldb)"}));
}

TEST_F(WinFileDialog, TheCurrentFolderIsKept)
{
    wchar_t before[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, before);
    DialogAnswer answer;
    answer.name = source;
    CRkString chosen;
    std::unique_ptr<IRkFileDialogImp> dialog(CreateWinFileDialog());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(RunAnswered(answer, kFileDialogOpen, CRkString(), filters, 0, chosen, dialog.get()));
    EXPECT_EQ(ToWide(chosen), source);
    wchar_t after[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(after, before);
}

} // namespace
