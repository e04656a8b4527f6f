#include "framework/platform/win32/ui/WinFont.h"

#include <cstddef>
#include <string>

#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

// The 52 letters whose mean width Windows takes as a font's dialog-base
// width.
constexpr wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// The face that dialogs and message boxes use: the system's message font.
// Older systems know only the structure without the padded border width,
// so that is the size asked for.
LOGFONTW SystemMessageFace()
{
    NONCLIENTMETRICSW metrics{};
#if WINVER >= 0x0600
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
#else
    metrics.cbSize = sizeof metrics;
#endif
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        return metrics.lfMessageFont;
    LOGFONTW face{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    return face;
}

} // namespace

CRkWinFontImp::CRkWinFontImp(const LOGFONTW& face) : m_face(face)
{
    m_font = ::CreateFontIndirectW(&m_face);
    m_owned = m_font != nullptr;
    if (!m_font) {
        m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        ::GetObjectW(m_font, sizeof m_face, &m_face);
    }
    m_measureDc = ::CreateCompatibleDC(nullptr);
    if (!m_measureDc)
        return;
    m_previousFont = ::SelectObject(m_measureDc, m_font);
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(m_measureDc, &metrics)) {
        m_lineHeight = metrics.tmHeight;
        m_averageWidth = metrics.tmAveCharWidth;
    }
    SIZE size{};
    if (::GetTextExtentPoint32W(m_measureDc, kAlphabet, 52, &size) && size.cx > 0)
        m_averageWidth = (size.cx / 26 + 1) / 2;
}

CRkWinFontImp::~CRkWinFontImp()
{
    if (m_measureDc) {
        ::SelectObject(m_measureDc, m_previousFont);
        ::DeleteDC(m_measureDc);
    }
    if (m_owned)
        ::DeleteObject(m_font);
}

int32_t CRkWinFontImp::MeasureText(const CRkString& text) const
{
    if (text.IsEmpty() || !m_measureDc)
        return 0;
    const std::wstring wide = ToWide(text);
    SIZE size{};
    if (!::GetTextExtentPoint32W(m_measureDc, wide.c_str(), int(wide.size()), &size))
        return 0;
    return size.cx;
}

const CRkWinFontImp* AsWinFont(const IRkFontImp& font)
{
    return dynamic_cast<const CRkWinFontImp*>(&font);
}

const IRkFontImp& GetWinFont(uint32_t number)
{
    // Both are the message font: the log list shows messages in the face
    // the dialogs use. They are separate objects so that either can change.
    static const CRkWinFontImp windowFont(SystemMessageFace());
    static const CRkWinFontImp logListFont(SystemMessageFace());
    return number == kFontLogList ? logListFont : windowFont;
}

HFONT GetWinFontHandle(uint32_t number)
{
    return static_cast<const CRkWinFontImp&>(GetWinFont(number)).GetHandle();
}
