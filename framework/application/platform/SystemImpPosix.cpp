// System services on POSIX systems: the headless ones, whose message boxes
// the test driver answers.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/headless/HeadlessSystemImp.h"

IRkSystemImp* CreateSystemImp()
{
    return new CRkHeadlessSystemImp();
}
