#include "framework/ui/RkUiPlatform.h"

#include <memory>

namespace {
std::unique_ptr<IRkUiPlatform> gPlatform;
} // namespace

IRkUiPlatform& GetUiPlatform()
{
    if (!gPlatform)
        gPlatform.reset(CreateUiPlatform());
    return *gPlatform;
}

void SetUiPlatform(IRkUiPlatform* platform)
{
    gPlatform.reset(platform);
}
