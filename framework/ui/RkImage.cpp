#include "framework/ui/RkImage.h"

#include "framework/core/RkResources.h"
#include "framework/core/RkStream.h"
#include "framework/ui/RkUiPlatform.h"

CRkImage* CRkImage::FromPng(const uint8_t* data, uint32_t size, uint32_t resourceId)
{
    if (!data || size == 0)
        return nullptr;
    IRkImageImp* imp = GetUiPlatform().CreateImage(data, size, resourceId);
    return imp ? new CRkImage(imp) : nullptr;
}

CRkImage* CRkImage::FromResource(uint32_t id)
{
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!GetResourceData(id, data, size))
        return nullptr;
    return FromPng(data, size, id);
}

int32_t CRkImage::Write(CRkStream&) const
{
    return kStreamBadArgument;
}

int32_t CRkImage::Read(CRkStream&)
{
    return kStreamBadArgument;
}
