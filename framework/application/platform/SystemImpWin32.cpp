// System services and string resources on Windows: the strings come from
// the program's RCDATA resources, the built-in table when they are missing.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/win32/Win32Platform.h"
#include "framework/text/LocalStrings.h"

IRkSystemImp* CreateSystemImp()
{
    return CreateWin32SystemImp();
}

const uint8_t* FindPlatformStringResource(uint32_t resourceId, uint32_t& size)
{
    if (const uint8_t* bytes = FindWin32StringResource(resourceId, size))
        return bytes;
    return FindBuiltInStringResource(resourceId, size);
}
