// The input of a component's native window: keys (Enter, Escape and Tab
// for the dialog keys), the mouse and the wheel on panels, and the
// notifications its parent passes on (clicks, edits, scrolling).
#include "framework/platform/win32/ui/WinComponentImp.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "framework/platform/win32/Win32Keys.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkGraphicsImp.h"

namespace {

bool IsDialogKey(uint16_t code)
{
    return code == kKeyEnter || code == kKeyEscape || code == kKeyTab;
}

} // namespace

LRESULT CRkWinComponentImp::HandleKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool multiline = m_kind == kKindMultilineTextField;
    if (message == WM_CHAR) {
        // The characters of the keys the framework took make the control beep.
        const bool taken = wParam == L'\t' || wParam == 27 || (!multiline && (wParam == L'\r' || wParam == L'\n'));
        if (taken && !IsPanel())
            return 0;
        return Default(message, wParam, lParam);
    }
    const uint16_t code = FrameworkKeyCode(uint32_t(wParam));
    IRkComponentHost* host = GetNativeHost();
    if (code == 0 || !host)
        return Default(message, wParam, lParam);
    RkWinNode* node = GetNode();
    const uint32_t value1 = (lParam & (1 << 30)) ? kKeyRepeat : kKeyPress;
    host->OnKey(code, CurrentKeyModifiers(), value1);
    if (!node->imp)
        return 0;
    // Enter, Escape and Tab belong to the framework (the dialog keys); every
    // other key also does what it does in the control, and system keys
    // reach the menus.
    const bool dialogKey = IsDialogKey(code) && !(multiline && code == kKeyEnter);
    if ((dialogKey && message == WM_KEYDOWN) || (IsPanel() && message == WM_KEYDOWN))
        return 0;
    return Default(message, wParam, lParam);
}

LRESULT CRkWinComponentImp::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam)
{
    IRkComponentHost* host = GetNativeHost();
    HWND window = GetHandle();
    if (!host || !window)
        return Default(message, wParam, lParam);
    if (message == WM_MOUSEWHEEL) {
        UINT lines = 3;
        ::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        if (lines == 0 || lines > 100)
            lines = 3; // none, or a page at a time: three lines
        m_wheelRest += short(HIWORD(wParam));
        RkWinNode* node = GetNode();
        while (node->imp && (m_wheelRest >= WHEEL_DELTA || m_wheelRest <= -WHEEL_DELTA)) {
            const bool down = m_wheelRest < 0;
            m_wheelRest += down ? WHEEL_DELTA : -WHEEL_DELTA;
            for (UINT i = 0; i < lines && node->imp; ++i)
                host->OnLineScroll(down);
        }
        return 0;
    }
    const int32_t x = short(LOWORD(lParam));
    const int32_t y = short(HIWORD(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const DWORD now = ::GetMessageTime();
        const bool nearby = std::abs(x - m_lastDown.x) <= ::GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                            std::abs(y - m_lastDown.y) <= ::GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        m_clicks = (m_clicks > 0 && nearby && now - m_lastDownTime <= ::GetDoubleClickTime()) ? m_clicks + 1 : 1;
        m_lastDownTime = now;
        m_lastDown = POINT{x, y};
        ::SetCapture(window);
        host->OnMouse(kMouseDown, m_clicks, x, y);
        return 0;
    }
    case WM_LBUTTONUP: {
        RkWinNode* node = GetNode();
        host->OnMouse(kMouseUp, m_clicks, x, y);
        if (node->imp && ::GetCapture() == window)
            ::ReleaseCapture();
        return 0;
    }
    default:
        host->OnMouse(kMouseMove, 0, x, y);
        return 0;
    }
}

bool CRkWinComponentImp::OnReflected(UINT message, WPARAM wParam, LPARAM)
{
    IRkComponentHost* host = GetNativeHost();
    HWND window = GetHandle();
    if (!host || !window)
        return false;
    RkWinNode* node = GetNode();
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        if (m_kind == kKindScrollbar) {
            OnScrollCode(LOWORD(wParam));
            return true;
        }
        if (m_kind == kKindSlider) {
            host->OnScrolled(int32_t(::SendMessageW(window, TBM_GETPOS, 0, 0)));
            return true;
        }
        return false;
    }
    const UINT code = HIWORD(wParam);
    if (IsButton()) {
        if (code != BN_CLICKED)
            return true;
        host->OnActivated();
        // The box shows what the framework answered, not its own toggling.
        if (node->imp && (m_kind == kKindCheckbox || m_kind == kKindRadioButton))
            ::SendMessageW(window, BM_SETCHECK, m_checked ? BST_CHECKED : BST_UNCHECKED, 0);
        return true;
    }
    if (m_kind == kKindTextField || m_kind == kKindMultilineTextField) {
        if (code == EN_CHANGE && !m_settingText)
            host->OnActivated();
        return true;
    }
    if ((m_kind == kKindListbox || m_kind == kKindListboxMultiple) && code == LBN_SELCHANGE) {
        host->OnActivated();
        return true;
    }
    if ((m_kind == kKindDropDownList || m_kind == kKindDropDownList2 || m_kind == kKindCombobox) &&
        (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
        host->OnActivated();
        return true;
    }
    return true;
}

void CRkWinComponentImp::OnScrollCode(UINT code)
{
    HWND window = GetHandle();
    IRkComponentHost* host = GetNativeHost();
    if (!window || !host)
        return;
    const int32_t minimum = GetProperty(kPropMinimum);
    const int32_t page = std::max(0, GetProperty(kPropPage));
    const int32_t last = std::max(minimum, GetProperty(kPropMaximum) - page);
    const int32_t line = std::max<int32_t>(1, GetWinFont(kFontWindow).GetLineHeight());
    const int32_t current = GetProperty(kPropValue);
    int32_t value = current;
    switch (code) {
    case SB_LINEUP:
        value = current - line;
        break;
    case SB_LINEDOWN:
        value = current + line;
        break;
    case SB_PAGEUP:
        value = current - std::max(1, page);
        break;
    case SB_PAGEDOWN:
        value = current + std::max(1, page);
        break;
    case SB_TOP:
        value = minimum;
        break;
    case SB_BOTTOM:
        value = last;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (!::GetScrollInfo(window, SB_CTL, &info))
            return;
        value = info.nTrackPos;
        break;
    }
    default:
        return;
    }
    value = std::clamp(value, minimum, last);
    if (value == current)
        return;
    ::SetScrollPos(window, SB_CTL, value, TRUE);
    host->OnScrolled(value);
}
