#include "framework/platform/win32/ui/WinWindowImp.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "framework/platform/win32/Win32Keys.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinMenuBarImp.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/platform/win32/ui/WinWindowController.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkGraphicsImp.h"

const wchar_t* const CRkWinWindowImp::kFrameClass = L"Zev Framework Window";
const wchar_t* const CRkWinWindowImp::kDialogClass = L"Zev Framework Dialog";

namespace {

void RegisterWindowClass(const wchar_t* name)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, name, &existing))
        return;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &CRkWinNative::WindowProc;
    windowClass.hInstance = instance;
    // The program's icon (resource 1) when it has one.
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}

DWORD FrameStyle(uint32_t flags)
{
    DWORD style = WS_CAPTION | WS_CLIPCHILDREN;
    if (flags & kWindowCloseBox)
        style |= WS_SYSMENU;
    if (flags & kWindowDialog)
        return style | WS_POPUP;
    style |= WS_OVERLAPPED | WS_MINIMIZEBOX;
    if (flags & kWindowResizable)
        style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    return style;
}

DWORD FrameExStyle(uint32_t flags)
{
    return (flags & kWindowDialog) ? WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT : WS_EX_CONTROLPARENT;
}

RkRect ToRect(const RECT& r)
{
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

} // namespace

CRkWinWindowImp::CRkWinWindowImp(IRkWindowHost& host, const CRkString& title, uint32_t flags, HWND owner)
    : m_windowHost(host), m_flags(flags)
{
    const wchar_t* windowClass = (flags & kWindowDialog) ? kDialogClass : kFrameClass;
    RegisterWindowClass(windowClass);
    const std::wstring wideTitle = ToWide(title);
    HWND window = ::CreateWindowExW(FrameExStyle(flags), windowClass, wideTitle.c_str(), FrameStyle(flags), 0, 0, 0, 0,
                                    owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return;
    Attach(window, host, false);
    CWinWindowController::Get().Add(window);
    BindWinWindow(window, &host.GetMessageTarget());
}

CRkWinWindowImp::~CRkWinWindowImp()
{
    // The host is being destroyed: what the calls below make Windows send
    // gets the default answers.
    m_closing = true;
    if (m_menuBar)
        m_menuBar->ForgetWindow();
    if (HWND window = GetHandle()) {
        CWinWindowController::Get().Remove(window);
        BindWinWindow(window, nullptr);
        // The menus belong to the menu bar, not to the window.
        ::SetMenu(window, nullptr);
    }
    Detach();
}

IRkWindowHost* CRkWinWindowImp::WindowHost() const
{
    return GetNativeHost() ? &m_windowHost : nullptr;
}

void CRkWinWindowImp::ForgetMenuBar(const CRkWinMenuBarImp* menuBar)
{
    if (m_menuBar != menuBar)
        return;
    m_menuBar = nullptr;
    HWND window = GetHandle();
    if (window && menuBar && ::GetMenu(window) == menuBar->GetMenuHandle())
        ::SetMenu(window, nullptr);
}

uint32_t CRkWinWindowImp::GetKind() const
{
    return kKindWindow;
}

bool CRkWinWindowImp::IsVisible() const
{
    HWND window = GetHandle();
    return window && (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CRkWinWindowImp::SetEnabled(bool enabled)
{
    if (HWND window = GetHandle())
        ::EnableWindow(window, enabled ? TRUE : FALSE);
}

bool CRkWinWindowImp::IsEnabled() const
{
    HWND window = GetHandle();
    return window && ::IsWindowEnabled(window);
}

int32_t CRkWinWindowImp::GetProperty(uint32_t property) const
{
    auto found = m_properties.find(property);
    return found == m_properties.end() ? 0 : found->second;
}

const IRkFontImp& CRkWinWindowImp::GetFont() const
{
    return GetWinFont(kFontWindow);
}

void CRkWinWindowImp::Redraw()
{
    if (HWND window = GetHandle())
        ::InvalidateRect(window, nullptr, TRUE);
}

void CRkWinWindowImp::Update()
{
    if (HWND window = GetHandle())
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
}

void CRkWinWindowImp::SetFocus()
{
    HWND window = GetHandle();
    if (window && IsVisible())
        ::SetFocus(window);
}

bool CRkWinWindowImp::HasFocus() const
{
    HWND window = GetHandle();
    return window && ::GetFocus() == window;
}

void CRkWinWindowImp::SetTitle(const CRkString& title)
{
    if (HWND window = GetHandle()) {
        const std::wstring wide = ToWide(title);
        ::SetWindowTextW(window, wide.c_str());
    }
}

void CRkWinWindowImp::GetTitle(CRkString& out) const
{
    HWND window = GetHandle();
    out.Empty();
    if (!window)
        return;
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(size_t(length > 0 ? length : 0) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    AssignWide(out, text.data(), size_t(copied > 0 ? copied : 0));
}

void CRkWinWindowImp::SetOuterBounds(const RkRect& outer)
{
    HWND window = GetHandle();
    if (!window)
        return;
    m_settingBounds = true;
    if (::IsIconic(window) || ::IsZoomed(window)) {
        // The bounds it gets back when restored.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        if (::GetWindowPlacement(window, &placement)) {
            RECT work{};
            const bool tool = (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
            if (!tool)
                ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
            placement.rcNormalPosition = RECT{outer.x - work.left, outer.y - work.top,
                                              outer.x - work.left + outer.width, outer.y - work.top + outer.height};
            placement.flags = 0;
            placement.showCmd =
                ::IsWindowVisible(window) ? (::IsIconic(window) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED) : SW_HIDE;
            ::SetWindowPlacement(window, &placement);
        }
    } else {
        ::SetWindowPos(window, nullptr, outer.x, outer.y, outer.width, outer.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_settingBounds = false;
}

RkRect CRkWinWindowImp::GetOuterBounds() const
{
    HWND window = GetHandle();
    if (!window)
        return {};
    // A minimized window is nowhere: what counts is where it comes back.
    if (::IsIconic(window))
        return GetRestoredBounds();
    RECT r;
    return ::GetWindowRect(window, &r) ? ToRect(r) : RkRect{};
}

RkRect CRkWinWindowImp::GetRestoredBounds() const
{
    HWND window = GetHandle();
    if (!window)
        return {};
    RECT r;
    if (!::IsIconic(window) && !::IsZoomed(window))
        return ::GetWindowRect(window, &r) ? ToRect(r) : RkRect{};
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!::GetWindowPlacement(window, &placement))
        return {};
    // The placement is in work-area coordinates for windows other than tool
    // windows.
    RECT work{};
    if ((::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0)
        ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RkRect restored = ToRect(placement.rcNormalPosition);
    restored.x += work.left;
    restored.y += work.top;
    return restored;
}

RkSize CRkWinWindowImp::OuterSizeForClient(const RkSize& client) const
{
    HWND window = GetHandle();
    RECT r{0, 0, client.width, client.height};
    const DWORD style = window ? DWORD(::GetWindowLongW(window, GWL_STYLE)) : FrameStyle(m_flags);
    const DWORD exStyle = window ? DWORD(::GetWindowLongW(window, GWL_EXSTYLE)) : FrameExStyle(m_flags);
    const BOOL menu = window && ::GetMenu(window) ? TRUE : FALSE;
    ::AdjustWindowRectEx(&r, style & ~WS_VISIBLE, menu, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

RkSize CRkWinWindowImp::GetClientSize() const
{
    HWND window = GetHandle();
    RECT r;
    if (!window || !::GetClientRect(window, &r))
        return {};
    return {r.right - r.left, r.bottom - r.top};
}

void CRkWinWindowImp::Show(bool visible, bool activate)
{
    HWND window = GetHandle();
    if (!window)
        return;
    if (!visible) {
        // Hiding an active dialog activates its owner, which Windows also
        // raises: the framework windows that were above the owner are put
        // back above it, so that closing a dialog reorders nothing else.
        HWND owner = ::GetWindow(window, GW_OWNER);
        std::vector<HWND> above; // front first
        if (owner && ::GetActiveWindow() == window) {
            for (HWND w = ::GetTopWindow(nullptr); w && w != owner; w = ::GetWindow(w, GW_HWNDNEXT))
                if (w != window && ::IsWindowVisible(w) && CWinWindowController::Get().Contains(w) &&
                    ::GetWindow(w, GW_OWNER) != window)
                    above.push_back(w);
        }
        ::ShowWindow(window, SW_HIDE);
        for (auto w = above.rbegin(); w != above.rend(); ++w)
            ::SetWindowPos(*w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    ::ShowWindow(window, activate ? SW_SHOW : SW_SHOWNA);
    if (activate)
        ::SetForegroundWindow(window);
    // Painted at once: the program may be busy before the loop runs again.
    ::UpdateWindow(window);
}

void CRkWinWindowImp::BringToFront(bool activate)
{
    HWND window = GetHandle();
    if (!window)
        return;
    if (activate) {
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (IsVisible())
            ::SetForegroundWindow(window);
        return;
    }
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CRkWinWindowImp::IsActive() const
{
    HWND window = GetHandle();
    return window && ::GetActiveWindow() == window;
}

void CRkWinWindowImp::SetMenuBar(IRkMenuBarImp* menuBar)
{
    HWND window = GetHandle();
    auto* bar = dynamic_cast<CRkWinMenuBarImp*>(menuBar);
    // Dialogs have no menus.
    if (m_flags & kWindowDialog)
        bar = nullptr;
    m_menuBar = bar;
    if (!window)
        return;
    HMENU menu = bar ? bar->GetMenuHandle() : nullptr;
    if (::GetMenu(window) != menu)
        ::SetMenu(window, menu);
}

void CRkWinWindowImp::ReportMoved()
{
    HWND window = GetHandle();
    IRkWindowHost* host = WindowHost();
    // A hidden window is laid out by the framework when it sizes it; only
    // what the user does to a shown one is news.
    if (!host || !window || m_settingBounds || !::IsWindowVisible(window) || ::IsIconic(window))
        return;
    host->OnMoved(GetOuterBounds());
}

LRESULT CRkWinWindowImp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = GetHandle();
    RkWinNode* node = GetNode();
    if (m_closing)
        return Default(message, wParam, lParam);
    switch (message) {
    case WM_CLOSE:
        // The framework decides; the window is never destroyed by Windows.
        if (IRkWindowHost* host = WindowHost())
            host->OnCloseRequest();
        return 0;
    case WM_MOVE:
    case WM_SIZE:
        ReportMoved();
        return Default(message, wParam, lParam);
    case WM_ACTIVATE: {
        const bool active = LOWORD(wParam) != WA_INACTIVE;
        if (!active) {
            HWND focus = ::GetFocus();
            m_lastFocus = focus && ::IsChild(window, focus) ? focus : nullptr;
        }
        LRESULT result = Default(message, wParam, lParam);
        if (active) {
            CWinWindowController::Get().Activated(window);
            // The control that had the focus gets it back.
            if (m_lastFocus && ::IsChild(window, m_lastFocus) && ::IsWindowVisible(m_lastFocus) &&
                ::IsWindowEnabled(m_lastFocus))
                ::SetFocus(m_lastFocus);
        }
        if (IRkWindowHost* host = WindowHost())
            host->OnWindowActivated(active);
        return result;
    }
    case WM_COMMAND:
        if (lParam) {
            if (ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam))
                return 0;
            return Default(message, wParam, lParam);
        }
        if (HIWORD(wParam) <= 1 && m_menuBar) {
            m_menuBar->OnCommand(LOWORD(wParam));
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_INITMENUPOPUP:
        if (m_menuBar && HIWORD(lParam) == 0) {
            m_menuBar->OnOpening();
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam))
            return 0;
        return Default(message, wParam, lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        // Keys while no control has the focus.
        const uint16_t code = FrameworkKeyCode(uint32_t(wParam));
        IRkComponentHost* host = GetNativeHost();
        if (code && host) {
            host->OnKey(code, CurrentKeyModifiers(), (lParam & (1 << 30)) ? kKeyRepeat : kKeyPress);
            if (!node->imp)
                return 0;
            if (message == WM_KEYDOWN)
                return 0;
        }
        return Default(message, wParam, lParam);
    }
    case WM_DROPFILES:
        HandleWinDropFiles(window, reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_DESTROY:
        CWinWindowController::Get().Remove(window);
        BindWinWindow(window, nullptr);
        return Default(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}
