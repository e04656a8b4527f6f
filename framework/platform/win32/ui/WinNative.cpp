#include "framework/platform/win32/ui/WinNative.h"

namespace {

const wchar_t kNodeProperty[] = L"VxWinNode";

// The end of a call that held the node: an implementation that went while
// the window was busy takes its window with it now; a node left with
// neither goes.
void Settle(RkWinNode* node)
{
    if (node->depth > 0 || node->imp)
        return;
    if (node->window) {
        if (!node->destroying) {
            node->destroying = true;
            ::DestroyWindow(node->window); // WM_NCDESTROY settles the node again
        }
        return;
    }
    delete node;
}

} // namespace

CRkWinNodeHold::CRkWinNodeHold(RkWinNode* node) : m_node(node)
{
    if (m_node)
        ++m_node->depth;
}

CRkWinNodeHold::~CRkWinNodeHold()
{
    if (!m_node)
        return;
    --m_node->depth;
    Settle(m_node);
}

CRkWinNative::~CRkWinNative()
{
    Detach();
}

RkWinNode* CRkWinNative::NodeOf(HWND window)
{
    return window ? static_cast<RkWinNode*>(::GetPropW(window, kNodeProperty)) : nullptr;
}

CRkWinNative* CRkWinNative::FromHandle(HWND window)
{
    RkWinNode* node = NodeOf(window);
    return node ? node->imp : nullptr;
}

void CRkWinNative::Attach(HWND window, IRkComponentHost& host, bool subclass)
{
    if (!window || m_node)
        return;
    m_node = new RkWinNode;
    m_node->window = window;
    m_node->imp = this;
    m_node->host = &host;
    ::SetPropW(window, kNodeProperty, m_node);
    if (subclass) {
        m_node->original = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CRkWinNative::WindowProc)));
    }
}

void CRkWinNative::Detach()
{
    RkWinNode* node = m_node;
    if (!node)
        return;
    m_node = nullptr;
    node->imp = nullptr;
    node->host = nullptr;
    Settle(node);
}

LRESULT CRkWinNative::Default(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!m_node || !m_node->window)
        return 0;
    if (m_node->original)
        return ::CallWindowProcW(m_node->original, m_node->window, message, wParam, lParam);
    return ::DefWindowProcW(m_node->window, message, wParam, lParam);
}

LRESULT CALLBACK CRkWinNative::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RkWinNode* node = NodeOf(window);
    if (!node)
        return ::DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    {
        CRkWinNodeHold hold(node);
        if (message == WM_NCDESTROY) {
            if (node->original)
                result = ::CallWindowProcW(node->original, window, message, wParam, lParam);
            else
                result = ::DefWindowProcW(window, message, wParam, lParam);
            ::RemovePropW(window, kNodeProperty);
            node->window = nullptr;
        } else if (node->imp) {
            result = node->imp->HandleMessage(message, wParam, lParam);
        } else if (node->original) {
            result = ::CallWindowProcW(node->original, window, message, wParam, lParam);
        } else {
            result = ::DefWindowProcW(window, message, wParam, lParam);
        }
    }
    return result;
}

bool CRkWinNative::ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam)
{
    RkWinNode* node = NodeOf(child);
    if (!node || !node->imp)
        return false;
    CRkWinNodeHold hold(node);
    return node->imp->OnReflected(message, wParam, lParam);
}
