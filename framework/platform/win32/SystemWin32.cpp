#include "framework/platform/win32/SystemWin32.h"

#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/text/Languages.h"

namespace {

Win32OwnerWindowFunction gMessageBoxOwner = nullptr;

// Seconds between 1601-01-01 (the FILETIME origin) and 1970-01-01.
constexpr uint64_t kEpochDifference = 11644473600ull;

} // namespace

uint32_t CRkWinSystemImp::GetPreferredLanguage()
{
    if (m_language == kLanguageAutomatic)
        m_language = LanguageFromWindowsId(uint16_t(::GetSystemDefaultLangID()));
    return m_language;
}

// The module's path must fit the file layer's 260-unit limit; a longer one
// counts as unknown rather than being cut.
bool CRkWinSystemImp::GetProgramPath(CRkString& out) const
{
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        out.Empty();
        return false;
    }
    AssignWide(out, path, n);
    return true;
}

uint64_t CRkWinSystemImp::GetCurrentTime() const
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime; // 100 ns units
    const uint64_t seconds = ticks / 10000000u;
    return seconds > kEpochDifference ? seconds - kEpochDifference : 0;
}

// GetTickCount64 is missing before Windows Vista; the 32-bit tick is
// extended by counting its wraps (the clock is read at least once in 49
// days by any program that relies on it).
uint64_t CRkWinSystemImp::GetTickCount() const
{
    const uint32_t tick = ::GetTickCount();
    if (tick < m_lastTick)
        ++m_tickWraps;
    m_lastTick = tick;
    return (m_tickWraps << 32) | tick;
}

uint32_t CRkWinSystemImp::ShowMessageBox(const CRkString& text, const CRkString& caption, uint32_t buttons)
{
    const std::wstring wideText = ToWide(text);
    const std::wstring wideCaption = ToWide(caption);
    const UINT style = (buttons == kMessageBoxOKCancel ? MB_OKCANCEL : MB_OK) | MB_SETFOREGROUND;
    HWND owner = gMessageBoxOwner ? static_cast<HWND>(gMessageBoxOwner()) : ::GetActiveWindow();
    const int answer = ::MessageBoxW(owner, wideText.c_str(), wideCaption.c_str(), style);
    if (buttons != kMessageBoxOKCancel)
        return kMessageBoxAnswerOK;
    // Cancel, the close box, Escape or a box that could not be shown.
    return answer == IDOK ? kMessageBoxAnswerOK : kMessageBoxAnswerCancel;
}

void CRkWinSystemImp::GetScreenRect(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const
{
    x = 0;
    y = 0;
    width = ::GetSystemMetrics(SM_CXSCREEN);
    height = ::GetSystemMetrics(SM_CYSCREEN);
}

bool CRkWinSystemImp::GetSystemColor(uint32_t index, uint8_t& red, uint8_t& green, uint8_t& blue) const
{
    int element;
    switch (index) {
    case 0:
        element = COLOR_WINDOWTEXT;
        break;
    case 1:
        element = COLOR_WINDOW;
        break;
    case 2:
        element = COLOR_HIGHLIGHTTEXT;
        break;
    case 3:
        element = COLOR_HIGHLIGHT;
        break;
    case 6:
        element = COLOR_BTNFACE;
        break;
    case 7:
        element = COLOR_BTNSHADOW;
        break;
    default:
        return false;
    }
    const COLORREF color = ::GetSysColor(element);
    red = GetRValue(color);
    green = GetGValue(color);
    blue = GetBValue(color);
    return true;
}

void SetWin32MessageBoxOwner(Win32OwnerWindowFunction owner)
{
    gMessageBoxOwner = owner;
}

IRkSystemImp* CreateWin32SystemImp()
{
    return new CRkWinSystemImp();
}

const uint8_t* FindWin32StringResource(uint32_t resourceId, uint32_t& size)
{
    size = 0;
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found)
        return nullptr;
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return nullptr;
    size = ::SizeofResource(nullptr, found);
    return static_cast<const uint8_t*>(bytes);
}

bool IsSupportedWindowsVersion(uint32_t major, uint32_t minor, bool ntFamily)
{
    return ntFamily || major > 4 || (major == 4 && minor > 0);
}

bool CheckWindowsVersion()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const BOOL known = ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    // A system that cannot say is one new enough to have dropped the call.
    if (!known ||
        IsSupportedWindowsVersion(info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId == VER_PLATFORM_WIN32_NT))
        return true;
    ::MessageBoxA(nullptr, "Vellumix requires Windows 98 or later.", "Error", MB_OK);
    return false;
}
