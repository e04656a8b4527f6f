#include "framework/core/RkShortcutTable.h"

#include "framework/core/RkMessageNumbers.h"

uint32_t CRkShortcutTable::IndexOf(uint16_t keyCode, uint8_t modifiers)
{
    if (keyCode > 0xFF)
        return kEntryCount;
    uint32_t index = keyCode;
    if (modifiers & kKeyModifierCtrl)
        index += 0x100;
    if (modifiers & kKeyModifierShift)
        index += 0x200;
    if (modifiers & kKeyModifierAlt)
        index += 0x400;
    return index;
}

bool CRkShortcutTable::Set(uint16_t keyCode, uint8_t modifiers, uint16_t command)
{
    uint32_t index = IndexOf(keyCode, modifiers);
    if (index >= kEntryCount)
        return false;
    m_commands[index] = command;
    return true;
}

uint16_t CRkShortcutTable::Lookup(uint16_t keyCode, uint8_t modifiers) const
{
    uint32_t index = IndexOf(keyCode, modifiers);
    return index < kEntryCount ? m_commands[index] : 0;
}

void CRkShortcutTable::Clear()
{
    for (uint16_t& command : m_commands)
        command = 0;
}
