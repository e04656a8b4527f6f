#include "framework/ui/RkMenuBar.h"

#include "framework/application/RkApplication.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/RkMessage.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkUiPlatform.h"
#include "framework/ui/RkWindow.h"

namespace {

// The control of `container` that has the focus, or null.
CRkComponent* FindFocused(const CRkContainer& container)
{
    for (uint32_t i = 0; i < container.GetChildCount(); ++i) {
        CRkComponent* child = container.GetChild(i);
        if (child->GetImp() && child->GetImp()->HasFocus())
            return child;
        if (const CRkContainer* inner = dynamic_cast<const CRkContainer*>(child)) {
            if (CRkComponent* found = FindFocused(*inner))
                return found;
        }
    }
    return nullptr;
}

IRkMessageTarget& CommandTarget(CRkWindow& window)
{
    CRkComponent* focused = FindFocused(window);
    return focused ? static_cast<IRkMessageTarget&>(*focused) : static_cast<IRkMessageTarget&>(window);
}

} // namespace

// One window's platform menus, and the window's answer to them.
class CRkMenuBar::WindowMenus : public IRkMenuBarHost {
public:
    WindowMenus(CRkMenuBar& bar, CRkWindow& window) : m_bar(bar), m_window(window) {}
    ~WindowMenus() override
    {
        if (m_window.GetWindowImp())
            m_window.GetWindowImp()->SetMenuBar(nullptr);
    }

    void Build()
    {
        if (!m_imp && m_window.GetWindowImp())
            m_imp.reset(GetUiPlatform().CreateMenuBar(*this, *m_window.GetWindowImp()));
        if (!m_imp)
            return;
        m_imp->Build(m_bar);
        m_window.GetWindowImp()->SetMenuBar(m_imp.get());
        if (CRkApplication* app = CRkApplication::Get())
            app->SetShortcutTable(&m_window, &m_bar.GetShortcuts());
    }

    void Remove()
    {
        if (m_window.GetWindowImp())
            m_window.GetWindowImp()->SetMenuBar(nullptr);
        m_imp.reset();
        if (CRkApplication* app = CRkApplication::Get())
            app->SetShortcutTable(&m_window, nullptr);
    }

    IRkMenuBarImp* GetImp() const { return m_imp.get(); }

    void OnMenuCommand(uint32_t command) override { m_bar.PerformCommand(m_window, command); }
    void OnMenuOpening() override { m_bar.RefreshStates(m_window); }

private:
    CRkMenuBar& m_bar;
    CRkWindow& m_window;
    std::unique_ptr<IRkMenuBarImp> m_imp;
};

CRkMenuBar::CRkMenuBar() = default;

CRkMenuBar::~CRkMenuBar()
{
    Uninstall();
    m_windows.clear();
}

uint32_t CRkMenuBar::AddMenu(uint32_t command, const CRkString& title)
{
    RkMenu menu;
    menu.command = command;
    menu.title = title;
    m_menus.push_back(menu);
    return uint32_t(m_menus.size() - 1);
}

void CRkMenuBar::AddItem(uint32_t menu, uint32_t command, const CRkString& text, uint16_t key, uint8_t modifiers)
{
    if (menu >= m_menus.size())
        return;
    RkMenuItem item;
    item.command = command;
    item.text = text;
    item.shortcutKey = key;
    item.shortcutModifiers = modifiers;
    m_menus[menu].items.push_back(item);
    if (key != 0)
        m_shortcuts.Set(key, modifiers, uint16_t(command));
}

void CRkMenuBar::AddSeparator(uint32_t menu)
{
    if (menu < m_menus.size())
        m_menus[menu].items.push_back(RkMenuItem{});
}

CRkString CRkMenuBar::ShortcutText(uint16_t key, uint8_t modifiers)
{
    CRkString text;
    if (key == 0)
        return text;
    if (modifiers & kKeyModifierCtrl)
        text.Append(u"Ctrl+");
    if (modifiers & kKeyModifierAlt)
        text.Append(u"Alt+");
    if (modifiers & kKeyModifierShift)
        text.Append(u"Shift+");
    if (key == kKeyDelete)
        text.Append(u"Delete");
    else if (key == kKeyEnter)
        text.Append(u"Enter");
    else if (key >= 32 && key < 127)
        text.Append(char16_t(key));
    return text;
}

void CRkMenuBar::Install()
{
    m_installed = true;
    // Windows opened before the bar was set show it too.
    if (CRkApplication* app = CRkApplication::Get()) {
        CRkWindowList& list = app->GetWindowList();
        for (uint32_t i = 0; i < list.GetCount(); ++i) {
            CRkWindow* window = dynamic_cast<CRkWindow*>(list.GetAt(i));
            if (window && (window->GetFlags() & kWindowDialog) == 0 && !m_windows.count(window))
                m_windows[window] = std::make_unique<WindowMenus>(*this, *window);
        }
    }
    for (auto& [window, menus] : m_windows) {
        menus->Build();
        RefreshStates(*window);
    }
}

void CRkMenuBar::Uninstall()
{
    m_installed = false;
    for (auto& entry : m_windows)
        entry.second->Remove();
}

void CRkMenuBar::AttachWindow(CRkWindow& window)
{
    auto& menus = m_windows[&window];
    if (!menus)
        menus = std::make_unique<WindowMenus>(*this, window);
    if (m_installed) {
        menus->Build();
        RefreshStates(window);
    }
}

void CRkMenuBar::DetachWindow(CRkWindow& window)
{
    auto found = m_windows.find(&window);
    if (found == m_windows.end())
        return;
    found->second->Remove();
    m_windows.erase(found);
}

void CRkMenuBar::RefreshStates(CRkWindow& window)
{
    auto found = m_windows.find(&window);
    if (found == m_windows.end() || !found->second->GetImp())
        return;
    IRkMenuBarImp& imp = *found->second->GetImp();
    IRkMessageTarget& target = CommandTarget(window);
    for (const RkMenu& menu : m_menus) {
        CRkCommand status(menu.command);
        target.HandleMessage(kMsgCommandStatus, &status);
        imp.SetItemState(menu.command, status.IsEnabled(), false);
        for (const RkMenuItem& item : menu.items) {
            if (item.IsSeparator())
                continue;
            CRkCommand itemStatus(item.command);
            target.HandleMessage(kMsgCommandStatus, &itemStatus);
            imp.SetItemState(item.command, itemStatus.IsEnabled(), itemStatus.IsChecked());
        }
    }
}

void CRkMenuBar::PerformCommand(CRkWindow& window, uint32_t command)
{
    CommandTarget(window).DoCommand(command);
}
