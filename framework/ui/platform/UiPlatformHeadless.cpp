// The UI platform without a display: the headless one that tests drive.
#include "framework/platform/headless/HeadlessUiPlatform.h"
#include "framework/ui/RkUiPlatform.h"

IRkUiPlatform* CreateUiPlatform()
{
    return new CRkHeadlessUiPlatform();
}
