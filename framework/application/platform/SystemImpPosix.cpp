// System services on POSIX systems.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/posix/SystemPosix.h"
#include "framework/text/LocalStrings.h"

IRkSystemImp* CreateSystemImp()
{
    return new CRkPosixSystemImp();
}

// The strings are built into the program.
const uint8_t* FindPlatformStringResource(uint32_t resourceId, uint32_t& size)
{
    return FindBuiltInStringResource(resourceId, size);
}
