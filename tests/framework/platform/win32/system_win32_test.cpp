// The Win32 system services, the string resources compiled into the
// program, the version check of the program entry, and the application
// started on the real Win32 services.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "Win32TestSupport.h"
#include "framework/application/RkApplication.h"
#include "framework/core/Prefs.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/platform/win32/ApplicationWin32.h"
#include "framework/platform/win32/PrefsWin32.h"
#include "framework/platform/win32/SystemWin32.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/text/EnglishStrings.h"
#include "framework/text/Languages.h"
#include "framework/text/LocalStrings.h"

namespace {

TEST(Win32System, TheLanguageIsThatOfTheSystemLocaleAndIsKept)
{
    CRkWinSystemImp system;
    const uint32_t expected = LanguageFromWindowsId(uint16_t(::GetSystemDefaultLangID()));
    EXPECT_EQ(system.GetPreferredLanguage(), expected);
    EXPECT_NE(system.GetPreferredLanguage(), kLanguageAutomatic);
    EXPECT_TRUE(system.IsWindows());
}

TEST(Win32System, ProgramPathAndClocks)
{
    CRkWinSystemImp system;
    CRkString path;
    ASSERT_TRUE(system.GetProgramPath(path));
    EXPECT_TRUE(path.EndsWith(CRkString(u"\\vx_win32_tests.exe"), false));
    const uint64_t now = uint64_t(std::time(nullptr));
    const uint64_t seen = system.GetCurrentTime();
    EXPECT_LE(seen > now ? seen - now : now - seen, 2u);
    // The tick counts milliseconds, compared with the runtime's steady clock
    // over 200 ms. The tick may step coarsely (Wine updates it every 16 ms or
    // so) and a Sleep may end early, so the window is wide and the wait is
    // measured rather than assumed.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const uint64_t before = system.GetTickCount();
    while (Clock::now() - start < std::chrono::milliseconds(200))
        ::Sleep(10);
    const uint64_t ticked = system.GetTickCount() - before;
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(ticked, 150u);
    EXPECT_LE(ticked, uint64_t(elapsed) + 50u);
}

// Answers the next message box of a caption from a thread timer, which the
// box's own modal loop runs: the way a user's click arrives.
struct BoxAnswer {
    const wchar_t* caption;
    WPARAM command; // IDOK, IDCANCEL, or 0 for the close box
    bool seen = false;
    int ticks = 0;
};
BoxAnswer* g_boxAnswer = nullptr;

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = ::FindWindowW(L"#32770", g_boxAnswer->caption);
    // A box under another caption would hang the run: close any after 2 s.
    if (!box && ++g_boxAnswer->ticks > 100) {
        if (HWND other = ::FindWindowW(L"#32770", nullptr))
            ::PostMessageW(other, WM_CLOSE, 0, 0);
        return;
    }
    if (!box)
        return;
    ::KillTimer(nullptr, timer);
    g_boxAnswer->seen = true;
    if (g_boxAnswer->command == 0)
        ::PostMessageW(box, WM_CLOSE, 0, 0);
    else
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(g_boxAnswer->command, BN_CLICKED), 0);
}

uint32_t ShowAndAnswer(const wchar_t* caption, uint32_t buttons, WPARAM command, bool& seen)
{
    BoxAnswer answer{caption, command};
    g_boxAnswer = &answer;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, AnswerBox);
    CRkWinSystemImp system;
    CRkString captionText;
    AssignWide(captionText, caption, wcslen(caption));
    const uint32_t result = system.ShowMessageBox(CRkString(u"Replace the book?"), captionText, buttons);
    ::KillTimer(nullptr, timer);
    g_boxAnswer = nullptr;
    seen = answer.seen;
    return result;
}

TEST(Win32System, MessageBoxAnswers)
{
    bool seen = false;
    EXPECT_EQ(ShowAndAnswer(L"VxBoxOkCancel1", kMessageBoxOKCancel, IDOK, seen), kMessageBoxAnswerOK);
    EXPECT_TRUE(seen);
    EXPECT_EQ(ShowAndAnswer(L"VxBoxOkCancel2", kMessageBoxOKCancel, IDCANCEL, seen), kMessageBoxAnswerCancel);
    EXPECT_TRUE(seen);
    // The close box of an OK/Cancel box is a Cancel; an OK-only box answers OK.
    EXPECT_EQ(ShowAndAnswer(L"VxBoxOkCancel3", kMessageBoxOKCancel, 0, seen), kMessageBoxAnswerCancel);
    EXPECT_TRUE(seen);
    EXPECT_EQ(ShowAndAnswer(L"VxBoxOk", kMessageBoxOK, 0, seen), kMessageBoxAnswerOK);
    EXPECT_TRUE(seen);
}

TEST(Win32System, ScreenAndSystemColours)
{
    CRkWinSystemImp system;
    int32_t x = -1, y = -1, width = 0, height = 0;
    system.GetScreenRect(x, y, width, height);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    // test-windows.sh runs Wine on a display of this size.
    if (const char* size = std::getenv("VX_SCREEN_SIZE")) {
        EXPECT_EQ(std::to_string(width) + "x" + std::to_string(height), size);
    } else {
        EXPECT_GT(width, 0);
        EXPECT_GT(height, 0);
    }

    uint8_t r = 1, g = 1, b = 1;
    ASSERT_TRUE(system.GetSystemColor(0, r, g, b)); // window text: black in the default scheme
    EXPECT_EQ(r + g + b, 0);
    ASSERT_TRUE(system.GetSystemColor(1, r, g, b)); // window: white
    EXPECT_EQ(r + g + b, 3 * 255);
    ASSERT_TRUE(system.GetSystemColor(2, r, g, b)); // highlight text: white
    EXPECT_EQ(r + g + b, 3 * 255);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_TRUE(system.GetSystemColor(3, r, g, b));
    EXPECT_EQ(RGB(r, g, b), highlight);
    uint8_t faceR, faceG, faceB, shadowR, shadowG, shadowB;
    ASSERT_TRUE(system.GetSystemColor(6, faceR, faceG, faceB));
    ASSERT_TRUE(system.GetSystemColor(7, shadowR, shadowG, shadowB));
    EXPECT_GT(faceR + faceG + faceB, shadowR + shadowG + shadowB); // the shadow is darker
    for (uint32_t none : {4u, 5u, 8u, 100u}) {
        r = g = b = 7;
        EXPECT_FALSE(system.GetSystemColor(none, r, g, b)) << none;
        EXPECT_EQ(r, 7);
    }
}

TEST(Win32System, VersionCheck)
{
    EXPECT_FALSE(IsSupportedWindowsVersion(3, 10, false)); // Windows 3.1 with Win32s
    EXPECT_FALSE(IsSupportedWindowsVersion(4, 0, false));  // Windows 95
    EXPECT_TRUE(IsSupportedWindowsVersion(4, 10, false));  // Windows 98
    EXPECT_TRUE(IsSupportedWindowsVersion(4, 90, false));  // Windows Me
    EXPECT_TRUE(IsSupportedWindowsVersion(4, 0, true));    // Windows NT 4.0
    EXPECT_TRUE(IsSupportedWindowsVersion(3, 51, true));
    // The system the tests run on passes without a message box.
    EXPECT_TRUE(CheckWindowsVersion());
}

TEST(Win32Strings, TheEnglishListIsResource11000)
{
    uint32_t size = 0;
    const uint8_t* bytes = FindWin32StringResource(11000, size);
    ASSERT_NE(bytes, nullptr);
    uint32_t builtInSize = 0;
    const uint8_t* builtIn = GetEnglishStringResource(builtInSize);
    ASSERT_EQ(size, builtInSize);
    EXPECT_EQ(std::memcmp(bytes, builtIn, size), 0);
    EXPECT_EQ(FindWin32StringResource(11001, size), nullptr);
    EXPECT_EQ(size, 0u);
}

TEST(Win32Strings, TheManagerReadsTheResourcesWithWindowsLineBreaks)
{
    // A French preference finds no resource 11001 and falls back to English.
    CRkLocalStringManager manager(kLanguageFrench, u'\r', FindWin32StringResource);
    ASSERT_TRUE(manager.HasTable());
    EXPECT_EQ(manager.GetEntryCount(), kEnglishStringCount);
    CRkString book(u"My Book");
    EXPECT_EQ(Units(*manager.FormatLocalString(301, &book)), u"Building My Book...");
    EXPECT_EQ(Units(*manager.GetLocalLabel(21)), u"Title:");
    EXPECT_EQ(Units(*manager.FormatLocalString(167)), u"About ");
}

// The application on the real services: the registry store, the system
// language, the string resources and the Win32 loop.
TEST(Win32Application, StartsRunsAndEndsOnTheWin32Services)
{
    const std::wstring key = L"Software\\Lumo\\VxWinLifecycle";
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    {
        CRkApplication app(nullptr, CRkString(u"VxWinLifecycle"), CRkString(u"1.6.0"), 0x56784170u, false);
        ASSERT_TRUE(app.Initialize());
        ASSERT_NE(dynamic_cast<CRkWinApplicationImp*>(app.GetImp()), nullptr);
        CRkGlobalVars* globals = CRkGlobalVars::Get();
        ASSERT_NE(globals, nullptr);
        ASSERT_NE(dynamic_cast<CRkWinSystemImp*>(globals->system), nullptr);
        ASSERT_NE(dynamic_cast<CWinPrefsImp*>(globals->preferences), nullptr);
        ASSERT_NE(GetLocalString(121), nullptr);
        EXPECT_EQ(Units(*GetLocalString(121)), u"Quit");
        CRkString code;
        ASSERT_TRUE(GetString(kPreferredLanguageKey, code));
        EXPECT_EQ(Units(code), u"**");
        EXPECT_TRUE(SetInt("Runs", 1));

        // Quit with no window open ends the loop with the code.
        app.Quit(0);
        EXPECT_EQ(app.Run(), 0u);
        EXPECT_EQ(app.GetState(), kAppEnded);
    }
    EXPECT_EQ(CRkGlobalVars::Get(), nullptr);
    // What the application wrote stays in the registry for the next start.
    HKEY reg = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_QUERY_VALUE, &reg), ERROR_SUCCESS);
    uint8_t data[16];
    DWORD size = sizeof(data), type = 0;
    EXPECT_EQ(::RegQueryValueExW(reg, L"Runs", nullptr, &type, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(size, 6u);
    ::RegCloseKey(reg);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
}

} // namespace
