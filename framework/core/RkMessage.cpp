#include "framework/core/RkMessage.h"

#include "framework/core/RkType.h"

CRkCommand::CRkCommand(uint32_t command, CRkType* data)
    : CRkMessage(kMessageKindCommand), m_data(data), m_command(command)
{
}

CRkCommand::~CRkCommand()
{
    if (m_data)
        m_data->Release();
}

void CRkCommand::SetData(CRkType* data)
{
    if (data == m_data)
        return;
    if (m_data)
        m_data->Release();
    m_data = data;
}
