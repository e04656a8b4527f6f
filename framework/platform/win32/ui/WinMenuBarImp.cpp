#include "framework/platform/win32/ui/WinMenuBarImp.h"

#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinWindowImp.h"
#include "framework/ui/RkMenuBar.h"

namespace {

std::wstring ItemText(const RkMenuItem& item)
{
    std::wstring text = ToWide(item.text);
    const CRkString shortcut = CRkMenuBar::ShortcutText(item.shortcutKey, item.shortcutModifiers);
    if (!shortcut.IsEmpty())
        text += L"\t" + ToWide(shortcut);
    return text;
}

// Everything of the model the menus show, in one string.
std::wstring Describe(const CRkMenuBar& model)
{
    std::wstring out;
    for (const RkMenu& menu : model.GetMenus()) {
        out += L"\x01" + std::to_wstring(menu.command) + L"\x02" + ToWide(menu.title);
        for (const RkMenuItem& item : menu.items)
            out += L"\x03" + std::to_wstring(item.command) + L"\x02" + ItemText(item);
    }
    return out;
}

} // namespace

CRkWinMenuBarImp::CRkWinMenuBarImp(IRkMenuBarHost& host, CRkWinWindowImp* window) : m_host(host), m_window(window)
{
}

CRkWinMenuBarImp::~CRkWinMenuBarImp()
{
    if (m_window)
        m_window->ForgetMenuBar(this);
    if (m_menu)
        ::DestroyMenu(m_menu);
}

HWND CRkWinMenuBarImp::WindowHandle() const
{
    return m_window ? m_window->GetHandle() : nullptr;
}

void CRkWinMenuBarImp::Build(const CRkMenuBar& model)
{
    const std::wstring described = Describe(model);
    if (m_menu && described == m_built)
        return; // the same menus: the window keeps them (and their states)
    HMENU bar = ::CreateMenu();
    if (!bar)
        return;
    std::map<uint32_t, UINT> positions;
    UINT position = 0;
    for (const RkMenu& menu : model.GetMenus()) {
        HMENU popup = ::CreatePopupMenu();
        if (!popup)
            continue;
        for (const RkMenuItem& item : menu.items) {
            if (item.IsSeparator()) {
                ::AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            const std::wstring text = ItemText(item);
            ::AppendMenuW(popup, MF_STRING, UINT_PTR(item.command), text.c_str());
        }
        const std::wstring title = ToWide(menu.title);
        ::AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), title.c_str());
        positions[menu.command] = position++;
    }
    HMENU old = m_menu;
    m_menu = bar;
    m_built = described;
    m_menuPositions = std::move(positions);
    // A window showing the old menus shows the new ones before those go.
    HWND window = WindowHandle();
    if (old && window && ::GetMenu(window) == old)
        ::SetMenu(window, m_menu);
    if (old)
        ::DestroyMenu(old);
}

void CRkWinMenuBarImp::SetItemState(uint32_t command, bool enabled, bool checked)
{
    if (!m_menu)
        return;
    auto menu = m_menuPositions.find(command);
    if (menu != m_menuPositions.end()) {
        const UINT flags = MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED);
        const UINT before = ::GetMenuState(m_menu, menu->second, MF_BYPOSITION);
        ::EnableMenuItem(m_menu, menu->second, flags);
        HWND window = WindowHandle();
        if (window && ::GetMenu(window) == m_menu && ((before & MF_GRAYED) != 0) == enabled)
            ::DrawMenuBar(window);
        return;
    }
    ::EnableMenuItem(m_menu, UINT(command), MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    ::CheckMenuItem(m_menu, UINT(command), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void CRkWinMenuBarImp::OnCommand(uint32_t command)
{
    m_host.OnMenuCommand(command);
}

void CRkWinMenuBarImp::OnOpening()
{
    m_host.OnMenuOpening();
}
