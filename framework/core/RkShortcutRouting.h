// Which keyboard shortcut table a key pressed in a target goes to: the
// target's own table first, then those of the targets containing it. Both
// event loops keep their tables here.
#pragma once

#include <cstdint>
#include <map>

class CRkCommand;
class CRkShortcutTable;
class IRkMessageTarget;

class CRkShortcutRouting {
public:
    // A target's table (not owned; null removes it).
    void SetTable(IRkMessageTarget* target, const CRkShortcutTable* table);
    // Where `target` sits; null (or the target itself) removes the link.
    void SetContainer(IRkMessageTarget* target, IRkMessageTarget* container);
    // A target about to die: its table and every link to or from it go.
    void Forget(IRkMessageTarget* target);
    bool HasTables() const { return !m_tables.empty(); }

    // Walks outward from `target` (bounded, so a containment cycle cannot
    // hang) to the first table with a command for the key: true with that
    // table's target and the command.
    bool Find(IRkMessageTarget* target, uint16_t keyCode, uint8_t modifiers, IRkMessageTarget*& owner,
              uint16_t& command) const;

    // The command a shortcut posts: marked, so that the window asks its
    // state before it is performed, as a menu would.
    static CRkCommand* MakeCommand(uint16_t command);

private:
    std::map<IRkMessageTarget*, const CRkShortcutTable*> m_tables;
    std::map<IRkMessageTarget*, IRkMessageTarget*> m_containers;
};
