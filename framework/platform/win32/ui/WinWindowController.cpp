#include "framework/platform/win32/ui/WinWindowController.h"

#include <algorithm>

#include "framework/application/RkApplication.h"
#include "framework/platform/win32/ApplicationWin32.h"
#include "framework/platform/win32/ui/WinNative.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponentImp.h"

CWinWindowController& CWinWindowController::Get()
{
    static CWinWindowController controller;
    return controller;
}

void CWinWindowController::Add(HWND window)
{
    if (window && !Contains(window))
        m_stack.insert(m_stack.begin(), window);
}

void CWinWindowController::Remove(HWND window)
{
    std::erase(m_stack, window);
}

void CWinWindowController::Activated(HWND window)
{
    if (!Contains(window))
        return;
    std::erase(m_stack, window);
    m_stack.push_back(window);
}

bool CWinWindowController::Contains(HWND window) const
{
    return window && std::find(m_stack.begin(), m_stack.end(), window) != m_stack.end();
}

HWND CWinWindowController::GetActiveWindow() const
{
    HWND active = ::GetActiveWindow();
    if (Contains(active) && ::IsWindowVisible(active))
        return active;
    // The shown framework window nearest the front of the screen.
    for (HWND window = ::GetTopWindow(nullptr); window; window = ::GetWindow(window, GW_HWNDNEXT))
        if (Contains(window) && ::IsWindowVisible(window))
            return window;
    return nullptr;
}

HWND GetActiveFrameworkWindow()
{
    return CWinWindowController::Get().GetActiveWindow();
}

void RegisterWinPanelClass()
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, L"LUMO_EMPTY_PANEL", &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CRkWinNative::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = L"LUMO_EMPTY_PANEL";
    ::RegisterClassExW(&windowClass);
}

void BindWinWindow(HWND window, IRkMessageTarget* target)
{
    CRkApplication* app = CRkApplication::Get();
    if (auto* loop = dynamic_cast<CRkWinApplicationImp*>(app ? app->GetImp() : nullptr))
        loop->BindWindow(window, target);
}

HWND GetWinComponentHandle(const IRkComponentImp& component)
{
    const auto* native = dynamic_cast<const CRkWinNative*>(&component);
    return native ? native->GetHandle() : nullptr;
}

IRkComponentHost* FindWinComponentHost(HWND window)
{
    RkWinNode* node = CRkWinNative::NodeOf(window);
    return node ? node->host : nullptr;
}
