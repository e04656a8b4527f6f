// The UI platform on Windows: native windows and controls.
#include "framework/platform/win32/ui/WinUiPlatform.h"
#include "framework/ui/RkUiPlatform.h"

IRkUiPlatform* CreateUiPlatform()
{
    return new CRkWinUiPlatform();
}
