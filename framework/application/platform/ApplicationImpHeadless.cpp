// The application's event loop on platforms without a native one: the
// headless in-process loop.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/headless/HeadlessApplicationImp.h"

IRkApplicationImp* CreateApplicationImp(IRkMessageTarget* application, void*)
{
    return new CRkHeadlessApplicationImp(application);
}
