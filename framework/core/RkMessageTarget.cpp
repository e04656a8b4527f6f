#include "framework/core/RkMessageTarget.h"

#include "framework/core/RkMessage.h"

bool IRkMessageTarget::DoCommand(uint32_t command)
{
    CRkCommand cmd(command);
    return HandleMessage(kMsgCommand, &cmd);
}

void IRkMessageTarget::PostCommand(uint32_t command, uint32_t flags)
{
    PostMessage(kMsgCommand, new CRkCommand(command), flags);
}
