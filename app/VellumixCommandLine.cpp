#include "app/VellumixCommandLine.h"

#include "framework/application/RkApplication.h"
#include "framework/application/RkFileMessage.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/io/File.h"

void CVellumixCommandLine::Process()
{
    uint32_t count = 0;
    for (const RkCommandLineEntry& entry : GetEntries())
        if (entry.isBatch)
            CRkGlobalVars::SetBatchMode(true);
        else
            ++count;
    CRkApplication* app = CRkApplication::Get();
    if (!app)
        return;
    uint32_t index = 0;
    for (const RkCommandLineEntry& entry : GetEntries()) {
        if (entry.isBatch)
            continue;
        app->PostMessage(kMsgOpenFile, new CRkFileMessage(CFile(entry.text), index, count), 0);
        ++index;
    }
    if (count == 0)
        app->PostMessage(kMsgStartedWithoutFiles, nullptr, 0);
}
