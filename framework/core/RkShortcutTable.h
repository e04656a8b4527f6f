// A window's keyboard shortcuts: one command number per key and modifier
// combination. The index is the key code plus 0x100 with Ctrl, 0x200 with
// Shift and 0x400 with Alt, so key codes run from 0 to 255.
#pragma once

#include <cstdint>

class CRkShortcutTable {
public:
    static constexpr uint32_t kEntryCount = 2048;

    // The entry index of a key, or kEntryCount when the key has none.
    static uint32_t IndexOf(uint16_t keyCode, uint8_t modifiers);

    // False (and nothing stored) for a key code above 255.
    bool Set(uint16_t keyCode, uint8_t modifiers, uint16_t command);
    // The command of a key, 0 when there is none.
    uint16_t Lookup(uint16_t keyCode, uint8_t modifiers) const;
    void Clear();

private:
    uint16_t m_commands[kEntryCount] = {};
};
