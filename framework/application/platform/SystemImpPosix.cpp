// System services on POSIX systems.
#include "framework/application/PlatformBinding.h"
#include "framework/platform/posix/SystemPosix.h"

IRkSystemImp* CreateSystemImp()
{
    return new CRkPosixSystemImp();
}
