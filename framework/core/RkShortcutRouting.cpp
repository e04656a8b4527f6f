#include "framework/core/RkShortcutRouting.h"

#include <cstddef>

#include "framework/core/RkMessage.h"
#include "framework/core/RkShortcutTable.h"

void CRkShortcutRouting::SetTable(IRkMessageTarget* target, const CRkShortcutTable* table)
{
    if (table)
        m_tables[target] = table;
    else
        m_tables.erase(target);
}

void CRkShortcutRouting::SetContainer(IRkMessageTarget* target, IRkMessageTarget* container)
{
    if (!target)
        return;
    if (container && container != target)
        m_containers[target] = container;
    else
        m_containers.erase(target);
}

void CRkShortcutRouting::Forget(IRkMessageTarget* target)
{
    m_tables.erase(target);
    m_containers.erase(target);
    std::erase_if(m_containers, [target](const auto& link) { return link.second == target; });
}

bool CRkShortcutRouting::Find(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers, IRkMessageTarget*& owner,
                              uint16_t& command) const
{
    IRkMessageTarget* at = target;
    for (size_t depth = 0; at && depth <= m_containers.size(); ++depth) {
        auto table = m_tables.find(at);
        const uint16_t found = table != m_tables.end() ? table->second->Lookup(keyCode, modifiers) : 0;
        if (found != 0) {
            owner = at;
            command = found;
            return true;
        }
        auto up = m_containers.find(at);
        at = up != m_containers.end() ? up->second : nullptr;
    }
    return false;
}

CRkCommand* CRkShortcutRouting::MakeCommand(uint16_t command)
{
    CRkCommand* shortcut = new CRkCommand(command);
    shortcut->SetFlag(kCommandFlagShortcut);
    return shortcut;
}
