// The application's event loop on Windows: the Win32 message loop with its
// hidden window; `startup` is the program's instance handle.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/win32/Win32Platform.h"

IRkApplicationImp* CreateApplicationImp(IRkMessageTarget* application, void* startup)
{
    return CreateWin32ApplicationImp(application, startup);
}
