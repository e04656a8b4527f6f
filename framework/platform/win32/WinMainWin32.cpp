// The Windows program's entry point: checks that the system can run the
// program, then calls the program entry with the command line after the
// program's own name (with RK_SELF_TEST set, under the self-test driver).
#include "framework/application/RkProgramMain.h"
#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/selftest/WinSelfTest.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (!CheckWindowsVersion())
        return 1;
    CRkString tail;
    AssignWide(tail, std::wstring(Win32CommandLineTail(::GetCommandLineW())));
    StartWinSelfTestFromEnvironment();
    return RkProgramMain(tail, instance);
}
