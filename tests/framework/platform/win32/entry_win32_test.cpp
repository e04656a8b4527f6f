// The program entry's command-line tail and the key codes the loop and
// the controls hand to the framework.
#include <gtest/gtest.h>

#include "framework/core/RkMessageNumbers.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Keys.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/ui/RkComponentImp.h"

namespace {

TEST(WinCommandLine, TheTailIsWhatFollowsTheProgramName)
{
    EXPECT_STREQ(Win32CommandLineTail(L"Vellumix.exe tale.lml"), L"tale.lml");
    EXPECT_STREQ(Win32CommandLineTail(L"Vellumix.exe"), L"");
    EXPECT_STREQ(Win32CommandLineTail(L"C:\\Vellumix.exe   \"my tale.lml\" -batch"), L"\"my tale.lml\" -batch");
    // A quoted name may hold spaces; the tail keeps its own quotes.
    EXPECT_STREQ(Win32CommandLineTail(L"\"C:\\Program Files\\Vellumix.exe\" \"a b.lml\""), L"\"a b.lml\"");
    EXPECT_STREQ(Win32CommandLineTail(L"\"C:\\Program Files\\Vellumix.exe\""), L"");
    EXPECT_STREQ(Win32CommandLineTail(L"\"C:\\unterminated name"), L"");
    EXPECT_STREQ(Win32CommandLineTail(L"\tprog\ttale.lml"), L"tale.lml");
    EXPECT_STREQ(Win32CommandLineTail(nullptr), L"");
}

TEST(WinKeys, VirtualKeysBecomeTheFrameworkCodes)
{
    EXPECT_EQ(FrameworkKeyCode(VK_RETURN), kKeyEnter);
    EXPECT_EQ(FrameworkKeyCode(VK_ESCAPE), kKeyEscape);
    EXPECT_EQ(FrameworkKeyCode(VK_TAB), kKeyTab);
    EXPECT_EQ(FrameworkKeyCode(VK_DELETE), kKeyDelete);
    EXPECT_EQ(FrameworkKeyCode(VK_UP), kKeyUp);
    EXPECT_EQ(FrameworkKeyCode(VK_NEXT), kKeyPageDown);
    EXPECT_EQ(FrameworkKeyCode('O'), u'O');
    EXPECT_EQ(FrameworkKeyCode('7'), u'7');
    EXPECT_EQ(FrameworkKeyCode(VK_SHIFT), 0);
    EXPECT_EQ(FrameworkKeyCode(VK_F5), 0);
    // Punctuation is the key's character on the keyboard layout (the US
    // layout under Wine: the key right of L is the semicolon).
    if (::MapVirtualKeyW(VK_OEM_1, 2) != L';')
        return;
    EXPECT_EQ(FrameworkKeyCode(VK_OEM_1), u';');
}

} // namespace
