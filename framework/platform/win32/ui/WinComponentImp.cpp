#include "framework/platform/win32/ui/WinComponentImp.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/platform/win32/ui/WinWindowController.h"
#include "framework/platform/win32/ui/WinWindowImp.h"
#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkGraphicsImp.h"

namespace {

constexpr DWORD kScrollbarVertical = 0x0001; // SBS_VERT

// The framework window a control is in, when it is one of ours.
CRkWinWindowImp* WindowOf(HWND control)
{
    HWND root = control ? ::GetAncestor(control, GA_ROOT) : nullptr;
    return root ? dynamic_cast<CRkWinWindowImp*>(CRkWinNative::FromHandle(root)) : nullptr;
}

// The font's metrics and the size of a text in it, measured on the screen.
class CRkTextMeasure {
public:
    CRkTextMeasure() : m_dc(::GetDC(nullptr))
    {
        m_old = ::SelectObject(m_dc, GetWinFontHandle(kFontWindow));
        ::GetTextMetricsW(m_dc, &m_metrics);
    }
    ~CRkTextMeasure()
    {
        ::SelectObject(m_dc, m_old);
        ::ReleaseDC(nullptr, m_dc);
    }
    CRkTextMeasure(const CRkTextMeasure&) = delete;
    CRkTextMeasure& operator=(const CRkTextMeasure&) = delete;

    int32_t LineHeight() const { return m_metrics.tmHeight; }
    int32_t AverageWidth() const { return m_metrics.tmAveCharWidth; }
    // One line, as a button or check box draws it.
    int32_t LineWidth(const std::wstring& text) const
    {
        RECT r{0, 0, 0, 0};
        ::DrawTextW(m_dc, text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
        return r.right - r.left;
    }
    // A label's text as the static control draws it: its lines, broken at
    // words to fit `wrapWidth` when that is above 0.
    RkSize Block(const std::wstring& text, int32_t wrapWidth) const
    {
        if (text.empty())
            return {0, LineHeight()};
        RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
        UINT flags = DT_CALCRECT | DT_EXPANDTABS | DT_LEFT;
        if (wrapWidth > 0)
            flags |= DT_WORDBREAK;
        ::DrawTextW(m_dc, text.c_str(), int(text.size()), &r, flags);
        return {r.right - r.left, std::max<int32_t>(r.bottom - r.top, LineHeight())};
    }

private:
    HDC m_dc;
    HGDIOBJ m_old;
    TEXTMETRICW m_metrics{};
};

std::wstring WindowText(HWND window)
{
    if (!window)
        return std::wstring();
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(size_t(std::max(length, 0)) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(size_t(std::max(copied, 0)));
    return text;
}

HWND CreateControl(const RkKindStyle* row, uint32_t kind, uint32_t id, HWND parent, DWORD style, DWORD exStyle)
{
    const wchar_t* windowClass = L"LUMO_EMPTY_PANEL";
    std::wstring className;
    if (row) {
        for (const char* c = row->windowClass; *c; ++c)
            className.push_back(wchar_t(*c));
        windowClass = className.c_str();
    }
    const wchar_t* text = KindShowsText(kind) ? reinterpret_cast<const wchar_t*>(kCreationText) : L"";
    return ::CreateWindowExW(exStyle, windowClass, text, style, 0, 0, kCreationSize, kCreationSize, parent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
}

} // namespace

bool CRkWinComponentImp::IsPanelKind(uint32_t kind)
{
    const RkKindStyle* row = FindKindStyle(kind);
    return !row || std::string(row->windowClass) == "LUMO_EMPTY_PANEL";
}

CRkWinComponentImp::CRkWinComponentImp(IRkComponentHost& host, uint32_t kind, uint32_t id, HWND parent)
    : m_kind(kind), m_id(id)
{
    RegisterWinPanelClass();
    const RkKindStyle* row = FindKindStyle(kind);
    const DWORD style = row ? row->style : 0x50010000;
    const DWORD exStyle = row ? row->exStyle : 0;
    HWND window = CreateControl(row, kind, id, parent, style, exStyle);
    if (!window)
        return;
    Attach(window, host, true);
    if (!IsPanel())
        ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetWinFontHandle(kFontWindow)), FALSE);
    if (kind == kKindTextField || kind == kKindMultilineTextField)
        m_properties[kPropBorder] = 1;
    if (kind == kKindProgressBar) {
        m_properties[kPropMaximum] = 100;
        ApplyRange();
    }
    BindWinWindow(window, &host.GetMessageTarget());
}

CRkWinComponentImp::~CRkWinComponentImp()
{
    if (HWND window = GetHandle()) {
        BindWinWindow(window, nullptr);
        if (::GetCapture() == window)
            ::ReleaseCapture();
        ForgetFocus();
    }
    Detach();
}

void CRkWinComponentImp::SetBounds(const RkRect& bounds)
{
    if (HWND window = GetHandle())
        ::SetWindowPos(window, nullptr, bounds.x, bounds.y, std::max(0, bounds.width), std::max(0, bounds.height),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

RkRect CRkWinComponentImp::GetBounds() const
{
    HWND window = GetHandle();
    RECT r;
    if (!window || !::GetWindowRect(window, &r))
        return {};
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void CRkWinComponentImp::SetVisible(bool visible)
{
    HWND window = GetHandle();
    if (!window)
        return;
    if (!visible)
        ForgetFocus();
    ::ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
}

bool CRkWinComponentImp::IsVisible() const
{
    HWND window = GetHandle();
    return window && (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void CRkWinComponentImp::SetEnabled(bool enabled)
{
    HWND window = GetHandle();
    if (!window)
        return;
    if (!enabled)
        ForgetFocus();
    ::EnableWindow(window, enabled ? TRUE : FALSE);
}

bool CRkWinComponentImp::IsEnabled() const
{
    HWND window = GetHandle();
    return window && ::IsWindowEnabled(window);
}

void CRkWinComponentImp::SetChecked(bool checked)
{
    m_checked = checked;
    if (HWND window = GetHandle(); window && IsButton())
        ::SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CRkWinComponentImp::SetText(const CRkString& text)
{
    HWND window = GetHandle();
    if (!window)
        return;
    const std::wstring wide = ToWide(text);
    // Setting the text is not an edit of the user's: no change is reported.
    m_settingText = true;
    ::SetWindowTextW(window, wide.c_str());
    m_settingText = false;
}

void CRkWinComponentImp::GetText(CRkString& out) const
{
    AssignWide(out, WindowText(GetHandle()));
}

bool CRkWinComponentImp::IsButton() const
{
    return m_kind == kKindPushButton || m_kind == kKindCheckbox || m_kind == kKindRadioButton ||
           m_kind == kKindImageButton;
}

bool CRkWinComponentImp::HasRange() const
{
    return m_kind == kKindScrollbar || m_kind == kKindProgressBar || m_kind == kKindSlider;
}

void CRkWinComponentImp::SetProperty(uint32_t property, int32_t value)
{
    HWND window = GetHandle();
    if (property == kPropVertical && m_kind == kKindScrollbar && window) {
        const bool vertical = value != 0;
        const DWORD style = DWORD(::GetWindowLongW(window, GWL_STYLE));
        if (((style & kScrollbarVertical) != 0) != vertical) {
            // The orientation is fixed when a scroll bar is made: make it again.
            IRkComponentHost* host = GetNativeHost();
            const RkRect bounds = GetBounds();
            const bool visible = IsVisible();
            const bool enabled = IsEnabled();
            HWND parent = ::GetParent(window);
            BindWinWindow(window, nullptr);
            Detach();
            const RkKindStyle* row = FindKindStyle(m_kind);
            DWORD newStyle = (row ? row->style : style) & ~kScrollbarVertical;
            if (vertical)
                newStyle |= kScrollbarVertical;
            if (!visible)
                newStyle &= ~WS_VISIBLE;
            HWND made = CreateControl(row, m_kind, m_id, parent, newStyle, row ? row->exStyle : 0);
            if (made && host) {
                Attach(made, *host, true);
                BindWinWindow(made, &host->GetMessageTarget());
                ::EnableWindow(made, enabled ? TRUE : FALSE);
                SetBounds(bounds);
            }
            window = made;
        }
    }
    m_properties[property] = value;
    if (property == kPropBorder && (m_kind == kKindTextField || m_kind == kKindMultilineTextField) && window) {
        const RkKindStyle* row = FindKindStyle(m_kind);
        DWORD style = DWORD(::GetWindowLongW(window, GWL_STYLE));
        const DWORD border = row ? (row->style & ~row->styleNoBorder) : WS_BORDER;
        style = value ? (style | border) : (style & ~border);
        ::SetWindowLongW(window, GWL_STYLE, LONG(style));
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
    if (property == kPropDefaultButton && m_kind == kKindPushButton && window)
        ::SendMessageW(window, BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (HasRange() &&
        (property == kPropMinimum || property == kPropMaximum || property == kPropValue || property == kPropPage)) {
        const int32_t minimum = GetProperty(kPropMinimum);
        const int32_t maximum = GetProperty(kPropMaximum);
        if (maximum >= minimum)
            m_properties[kPropValue] = std::clamp(GetProperty(kPropValue), minimum, maximum);
        ApplyRange();
    }
}

int32_t CRkWinComponentImp::GetProperty(uint32_t property) const
{
    auto found = m_properties.find(property);
    return found == m_properties.end() ? 0 : found->second;
}

void CRkWinComponentImp::ApplyRange()
{
    HWND window = GetHandle();
    if (!window)
        return;
    const int32_t minimum = GetProperty(kPropMinimum);
    const int32_t maximum = std::max(minimum, GetProperty(kPropMaximum));
    const int32_t value = GetProperty(kPropValue);
    const int32_t page = std::max(0, GetProperty(kPropPage));
    switch (m_kind) {
    case kKindScrollbar: {
        // The framework's last value is maximum - page; Windows' is
        // nMax - nPage + 1. Whether the bar is enabled is the framework's
        // to say, not the range's.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = minimum;
        info.nMax = std::max(minimum, page > 0 ? maximum - 1 : maximum);
        info.nPage = UINT(page);
        info.nPos = value;
        ::SetScrollInfo(window, SB_CTL, &info, TRUE);
        break;
    }
    case kKindProgressBar:
        ::SendMessageW(window, PBM_SETRANGE32, WPARAM(minimum), LPARAM(maximum));
        ::SendMessageW(window, PBM_SETPOS, WPARAM(value), 0);
        break;
    case kKindSlider:
        ::SendMessageW(window, TBM_SETRANGEMIN, FALSE, LPARAM(minimum));
        ::SendMessageW(window, TBM_SETRANGEMAX, FALSE, LPARAM(maximum));
        ::SendMessageW(window, TBM_SETPOS, TRUE, LPARAM(value));
        break;
    default:
        break;
    }
}

RkSize CRkWinComponentImp::GetNaturalSize(int32_t wrapWidth) const
{
    switch (m_kind) {
    case kKindPushButton: {
        CRkTextMeasure measure;
        const int32_t edge = ::GetSystemMetrics(SM_CXEDGE);
        const int32_t width = measure.LineWidth(WindowText(GetHandle())) + 2 * (measure.AverageWidth() + 2 * edge);
        return {width, measure.LineHeight() + 2 * (3 + ::GetSystemMetrics(SM_CYEDGE))};
    }
    case kKindCheckbox:
    case kKindRadioButton: {
        // The box, a gap of one average character, the text, and a pixel
        // of the focus rectangle.
        CRkTextMeasure measure;
        const int32_t box = ::GetSystemMetrics(SM_CXMENUCHECK);
        const int32_t width = box + measure.AverageWidth() + measure.LineWidth(WindowText(GetHandle())) + 1;
        return {width, std::max(measure.LineHeight(), box) + 4};
    }
    case kKindLabel: {
        CRkTextMeasure measure;
        return measure.Block(WindowText(GetHandle()), wrapWidth);
    }
    case kKindTextField: {
        // Forty characters of the layout's average width.
        CRkTextMeasure measure;
        return {40 * GetWinFont(kFontWindow).GetAverageCharWidth(), measure.LineHeight() + 8};
    }
    case kKindProgressBar:
        return {100, ::GetSystemMetrics(SM_CYHSCROLL)};
    case kKindScrollbar:
        return {::GetSystemMetrics(SM_CXVSCROLL), ::GetSystemMetrics(SM_CYHSCROLL)};
    default:
        return {0, 0};
    }
}

const IRkFontImp& CRkWinComponentImp::GetFont() const
{
    return GetWinFont(kFontWindow);
}

void CRkWinComponentImp::Redraw()
{
    if (HWND window = GetHandle())
        ::InvalidateRect(window, nullptr, IsPanel() ? FALSE : TRUE);
}

void CRkWinComponentImp::Update()
{
    HWND window = GetHandle();
    if (!window)
        return;
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    // Whatever else of the window waits for painting is painted too: the
    // caller is about to keep the loop busy.
    if (HWND root = ::GetAncestor(window, GA_ROOT))
        ::RedrawWindow(root, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASENOW | RDW_ALLCHILDREN);
    ::GdiFlush();
}

void CRkWinComponentImp::SetFocus()
{
    HWND window = GetHandle();
    if (!window || !IsVisible() || !IsEnabled())
        return;
    // Focus in a window that is not active would activate it: the window
    // keeps the control for when it is activated.
    HWND root = ::GetAncestor(window, GA_ROOT);
    if (root && ::GetActiveWindow() != root) {
        if (CRkWinWindowImp* frame = WindowOf(window))
            frame->RememberFocus(window);
        return;
    }
    ::SetFocus(window);
}

bool CRkWinComponentImp::HasFocus() const
{
    HWND window = GetHandle();
    if (!window)
        return false;
    if (::GetFocus() == window)
        return true;
    HWND root = ::GetAncestor(window, GA_ROOT);
    CRkWinWindowImp* frame = WindowOf(window);
    return frame && ::GetActiveWindow() != root && frame->GetRememberedFocus() == window;
}

void CRkWinComponentImp::ForgetFocus()
{
    HWND window = GetHandle();
    CRkWinWindowImp* frame = WindowOf(window);
    if (frame && frame->GetRememberedFocus() == window)
        frame->RememberFocus(nullptr);
    if (window && ::GetFocus() == window)
        GiveFocusAway();
}

void CRkWinComponentImp::GiveFocusAway()
{
    // The focus goes to the window itself, which hands keys to the framework.
    if (HWND root = ::GetAncestor(GetHandle(), GA_ROOT))
        ::SetFocus(root);
}

LRESULT CRkWinComponentImp::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
        return HandleKey(message, wParam, lParam);
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
        // Notifications of the controls inside a container panel.
        if (lParam && ReflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam))
            return 0;
        return Default(message, wParam, lParam);
    case WM_DROPFILES:
        HandleWinDropFiles(GetHandle(), reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        break;
    }
    if (!IsPanel())
        return Default(message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        if (IRkComponentHost* host = GetNativeHost()) {
            PaintWinComponent(GetHandle(), *host);
            return 0;
        }
        return Default(message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1; // the paint covers the whole panel
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW)));
            return TRUE;
        }
        return Default(message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_MOUSEWHEEL:
        return HandleMouse(message, wParam, lParam);
    default:
        return Default(message, wParam, lParam);
    }
}
