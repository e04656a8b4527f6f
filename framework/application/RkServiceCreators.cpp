#include "framework/application/RkServiceCreators.h"

namespace {
CRkServiceCreator gCreators[2] = {};
} // namespace

void SetServiceCreator(CRkServiceKind kind, CRkServiceCreator creator)
{
    gCreators[static_cast<int>(kind)] = creator;
}

CRkServiceCreator GetServiceCreator(CRkServiceKind kind)
{
    return gCreators[static_cast<int>(kind)];
}
