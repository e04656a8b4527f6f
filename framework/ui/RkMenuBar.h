// The menu bar model: menus of items, each with a command, a text and an
// optional shortcut. The application owns the bar; every top-level window
// that is not a dialog shows it, with the bar's shortcuts as its keyboard
// table. Commands and their states go to the chain of the window the menu
// belongs to (its focused control first), which ends at the application.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "framework/application/RkMenuBarHost.h"
#include "framework/core/RkShortcutTable.h"
#include "framework/core/RkString.h"
#include "framework/ui/RkMenuBarImp.h"

class CRkWindow;

struct RkMenuItem {
    uint32_t command = 0; // 0 for a separator
    CRkString text;
    uint16_t shortcutKey = 0; // a framework key code, 0 for none
    uint8_t shortcutModifiers = 0;
    bool IsSeparator() const { return command == 0; }
};

struct RkMenu {
    uint32_t command = 0; // the menu's own command (its state enables the menu)
    CRkString title;
    std::vector<RkMenuItem> items;
};

class CRkMenuBar : public IRkMenuBar {
public:
    CRkMenuBar();
    ~CRkMenuBar() override;

    // Building the model (before it is installed).
    uint32_t AddMenu(uint32_t command, const CRkString& title);
    void AddItem(uint32_t menu, uint32_t command, const CRkString& text, uint16_t key = 0, uint8_t modifiers = 0);
    void AddSeparator(uint32_t menu);

    const std::vector<RkMenu>& GetMenus() const { return m_menus; }
    const CRkShortcutTable& GetShortcuts() const { return m_shortcuts; }
    // The text an item shows its shortcut with: "Ctrl+O", "Delete".
    static CRkString ShortcutText(uint16_t key, uint8_t modifiers);

    // IRkMenuBar: builds the menus in every window showing the bar and
    // asks every item's state; Uninstall takes them away.
    void Install() override;
    void Uninstall() override;

    // Windows showing the bar (called by CRkWindow).
    void AttachWindow(CRkWindow& window);
    void DetachWindow(CRkWindow& window);
    // Asks every item's state in the window's chain and shows it.
    void RefreshStates(CRkWindow& window);
    // Performs an item's command in the window's chain after asking its state.
    void PerformCommand(CRkWindow& window, uint32_t command);

private:
    class WindowMenus;

    bool m_installed = false;
    std::vector<RkMenu> m_menus;
    CRkShortcutTable m_shortcuts;
    std::map<CRkWindow*, std::unique_ptr<WindowMenus>> m_windows;
};
