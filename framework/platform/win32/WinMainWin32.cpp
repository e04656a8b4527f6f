// The Windows program's entry point: checks that the system can run the
// program, then calls the program entry with the command line after the
// program's own name.
#include "framework/application/RkProgramMain.h"
#include "framework/core/RkString.h"
#include "framework/platform/win32/Win32Api.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/platform/win32/Win32Text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    if (!CheckWindowsVersion())
        return 1;
    CRkString tail;
    AssignWide(tail, std::wstring(Win32CommandLineTail(::GetCommandLineW())));
    return RkProgramMain(tail, instance);
}
