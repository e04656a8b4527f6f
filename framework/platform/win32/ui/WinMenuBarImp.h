// A window's menu bar as a Win32 menu: the model's menus with their items,
// each item's shortcut after a tab ("Open...\tCtrl+O"), and the states the
// framework gives the items when a menu opens.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkMenuBarImp.h"

class CRkWinWindowImp;

class CRkWinMenuBarImp final : public IRkMenuBarImp {
public:
    CRkWinMenuBarImp(IRkMenuBarHost& host, CRkWinWindowImp* window);
    ~CRkWinMenuBarImp() override;
    CRkWinMenuBarImp(const CRkWinMenuBarImp&) = delete;
    CRkWinMenuBarImp& operator=(const CRkWinMenuBarImp&) = delete;

    HMENU GetMenuHandle() const { return m_menu; }
    // The window is going: the bar no longer touches it.
    void ForgetWindow() { m_window = nullptr; }

    // From the window: an item was chosen; a menu is about to open.
    void OnCommand(uint32_t command);
    void OnOpening();

    // IRkMenuBarImp
    void Build(const CRkMenuBar& model) override;
    void SetItemState(uint32_t command, bool enabled, bool checked) override;

private:
    HWND WindowHandle() const;

    IRkMenuBarHost& m_host;
    CRkWinWindowImp* m_window;
    HMENU m_menu = nullptr;
    std::wstring m_built; // what the menus were built from, to skip a rebuild
    // The menus' own commands, by their place in the bar.
    std::map<uint32_t, UINT> m_menuPositions;
};
