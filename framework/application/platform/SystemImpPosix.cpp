// System services on POSIX systems: the headless ones, whose message boxes
// the test driver answers.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/headless/HeadlessSystemImp.h"
#include "framework/text/LocalStrings.h"

IRkSystemImp* CreateSystemImp()
{
    return new CRkHeadlessSystemImp();
}

// The strings are built into the program.
const uint8_t* FindPlatformStringResource(uint32_t resourceId, uint32_t& size)
{
    return FindBuiltInStringResource(resourceId, size);
}
