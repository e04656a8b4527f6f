#include "framework/core/RkGlobalVars.h"

#include "framework/core/ObjectStream.h"
#include "framework/core/TypeFactory.h"

namespace {
CRkGlobalVars* gGlobals = nullptr;
} // namespace

void CRkGlobalService::Reset()
{
    void* doomed = object;
    object = nullptr;
    if (doomed && destroy)
        destroy(doomed);
    destroy = nullptr;
}

CRkGlobalVars* CRkGlobalVars::Create()
{
    if (!gGlobals)
        gGlobals = new CRkGlobalVars();
    return gGlobals;
}

CRkGlobalVars* CRkGlobalVars::Get()
{
    return gGlobals;
}

void CRkGlobalVars::Destroy()
{
    CRkGlobalVars* doomed = gGlobals;
    gGlobals = nullptr;
    delete doomed;
}

// Fresh globals mean a fresh process state: the hooks write to standard
// output and batch mode is off.
CRkGlobalVars::CRkGlobalVars()
{
    ResetReportHooks();
    batchMode = false;
    typeFactories = new CRkTypeFactoryChain();
    SetTypeFactoryChain(typeFactories);
    SetObjectSerialCounter(&serialNumber);
}

CRkGlobalVars::~CRkGlobalVars()
{
    windowCache.Reset();
    dragTypes.Reset();
    fontCache.Reset();
    clipboard.Reset();
    localStrings.Reset();
    fileNames.Reset();
    SetObjectSerialCounter(nullptr);
    SetTypeFactoryChain(nullptr);
    delete typeFactories;
    // Hooks installed while the globals lived may point into objects that
    // die with them (the log window): reports go to standard output again.
    ResetReportHooks();
}
