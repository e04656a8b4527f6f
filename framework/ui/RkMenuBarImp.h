// The platform side of a menu bar: the menus of one top-level window.
#pragma once

#include <cstdint>

class CRkMenuBar;

class IRkMenuBarHost {
public:
    virtual ~IRkMenuBarHost() = default;
    // The user chose the item with this command.
    virtual void OnMenuCommand(uint32_t command) = 0;
    // A menu is about to open: its items' states are wanted now.
    virtual void OnMenuOpening() = 0;
};

class IRkMenuBarImp {
public:
    virtual ~IRkMenuBarImp() = default;
    // Builds the platform menus from the model (again).
    virtual void Build(const CRkMenuBar& model) = 0;
    // An item's state, by command.
    virtual void SetItemState(uint32_t command, bool enabled, bool checked) = 0;
};
