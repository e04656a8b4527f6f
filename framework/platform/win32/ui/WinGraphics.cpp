#include "framework/platform/win32/ui/WinGraphics.h"

// windows.h names DrawTextW "DrawText"; the context's operation keeps its
// own name, so the macro goes before the interface is read.
#undef DrawText
#include "framework/ui/RkGraphicsImp.h"

#include <algorithm>
#include <cstdlib>

#include "framework/core/RkColor.h"
#include "framework/platform/win32/Win32Text.h"
#include "framework/platform/win32/ui/WinDrag.h"
#include "framework/platform/win32/ui/WinFont.h"
#include "framework/platform/win32/ui/WinImage.h"
#include "framework/platform/win32/ui/WinUiShared.h"
#include "framework/ui/RkComponentImp.h"

namespace {

// GDI's coordinate space is smaller than 32 bits; rectangles are cut to the
// component first, and line ends are kept within this.
constexpr int32_t kMaxCoordinate = 1 << 26;

COLORREF ToColorRef(const CRkColor& color)
{
    return RGB(color.GetRed(), color.GetGreen(), color.GetBlue());
}

int32_t ClampCoordinate(int32_t value)
{
    return std::clamp(value, -kMaxCoordinate, kMaxCoordinate);
}

// `rect` cut to 0, 0, width, height; false when nothing of it is left.
bool ClipToComponent(const RkRect& rect, int32_t width, int32_t height, RECT& out)
{
    const int64_t left = std::max<int64_t>(rect.x, 0);
    const int64_t top = std::max<int64_t>(rect.y, 0);
    const int64_t right = std::min<int64_t>(int64_t(rect.x) + rect.width, width);
    const int64_t bottom = std::min<int64_t>(int64_t(rect.y) + rect.height, height);
    if (rect.width <= 0 || rect.height <= 0 || left >= right || top >= bottom)
        return false;
    out = RECT{LONG(left), LONG(top), LONG(right), LONG(bottom)};
    return true;
}

class CRkWinGraphicsContext final : public IRkGraphicsContextImp {
public:
    CRkWinGraphicsContext(HDC dc, int32_t width, int32_t height, std::vector<std::wstring>* textLines)
        : m_dc(dc), m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_textLines(textLines)
    {
        m_savedState = ::SaveDC(m_dc);
        ::IntersectClipRect(m_dc, 0, 0, m_width, m_height);
        ::SetBkMode(m_dc, TRANSPARENT);
        ::SetTextAlign(m_dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    }
    ~CRkWinGraphicsContext() override
    {
        if (m_savedState)
            ::RestoreDC(m_dc, m_savedState);
    }
    CRkWinGraphicsContext(const CRkWinGraphicsContext&) = delete;
    CRkWinGraphicsContext& operator=(const CRkWinGraphicsContext&) = delete;

    void Erase(const RkRect& rect) override { Fill(rect, ::GetSysColor(COLOR_WINDOW)); }

    void FillRect(const RkRect& rect, const CRkColor& color) override { Fill(rect, ToColorRef(color)); }

    // LineTo leaves out the end point itself.
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const CRkColor& color) override
    {
        HGDIOBJ previous = ::SelectObject(m_dc, ::GetStockObject(DC_PEN));
        ::SetDCPenColor(m_dc, ToColorRef(color));
        ::MoveToEx(m_dc, ClampCoordinate(x1), ClampCoordinate(y1), nullptr);
        ::LineTo(m_dc, ClampCoordinate(x2), ClampCoordinate(y2));
        ::SelectObject(m_dc, previous);
    }

    void DrawText(int32_t x, int32_t y, const CRkString& text, const CRkColor& color, const IRkFontImp& font) override
    {
        const RkRect box{x, y, font.MeasureText(text), font.GetLineHeight()};
        RECT visible;
        if (!ClipToComponent(RkRect{box.x, box.y, std::max(box.width, 1), box.height}, m_width, m_height, visible))
            return;
        std::wstring wide = ToWide(text);
        if (!wide.empty()) {
            const CRkWinFontImp* winFont = AsWinFont(font);
            HFONT handle = winFont ? winFont->GetHandle() : GetWinFontHandle(kFontWindow);
            HGDIOBJ previous = ::SelectObject(m_dc, handle);
            ::SetTextColor(m_dc, ToColorRef(color));
            ::TextOutW(m_dc, ClampCoordinate(x), ClampCoordinate(y), wide.c_str(), int(wide.size()));
            ::SelectObject(m_dc, previous);
        }
        if (m_textLines && m_textLines->size() < kMaxPaintedLines) {
            if (wide.size() > kMaxPaintedLineUnits)
                wide.resize(kMaxPaintedLineUnits);
            m_textLines->push_back(std::move(wide));
        }
    }

    // Pictures with transparent pixels are blended over what is there;
    // opaque ones are copied, smoothed by HALFTONE when scaled.
    void DrawImage(const IRkImageImp& image, const RkRect& dest) override
    {
        const auto* winImage = dynamic_cast<const CRkWinImageImp*>(&image);
        RECT visible;
        if (!winImage || !ClipToComponent(dest, m_width, m_height, visible))
            return;
        if (std::max(std::abs(int64_t(dest.x)), std::abs(int64_t(dest.y))) > kMaxCoordinate ||
            dest.width > kMaxCoordinate || dest.height > kMaxCoordinate)
            return;
        HDC source = ::CreateCompatibleDC(m_dc);
        if (!source)
            return;
        HGDIOBJ previous = ::SelectObject(source, winImage->GetBitmap());
        const int32_t w = winImage->GetWidth();
        const int32_t h = winImage->GetHeight();
        if (!winImage->IsOpaque()) {
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::GdiAlphaBlend(m_dc, dest.x, dest.y, dest.width, dest.height, source, 0, 0, w, h, blend);
        } else if (dest.width == w && dest.height == h) {
            ::BitBlt(m_dc, dest.x, dest.y, w, h, source, 0, 0, SRCCOPY);
        } else {
            const int previousMode = ::SetStretchBltMode(m_dc, HALFTONE);
            POINT origin;
            ::SetBrushOrgEx(m_dc, 0, 0, &origin);
            ::StretchBlt(m_dc, dest.x, dest.y, dest.width, dest.height, source, 0, 0, w, h, SRCCOPY);
            ::SetBrushOrgEx(m_dc, origin.x, origin.y, nullptr);
            ::SetStretchBltMode(m_dc, previousMode);
        }
        ::SelectObject(source, previous);
        ::DeleteDC(source);
    }

private:
    // An opaque ExtTextOut of no text fills the rectangle with the
    // background colour without creating a brush.
    void Fill(const RkRect& rect, COLORREF color)
    {
        RECT area;
        if (!ClipToComponent(rect, m_width, m_height, area))
            return;
        const COLORREF previous = ::SetBkColor(m_dc, color);
        ::ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
        ::SetBkColor(m_dc, previous);
    }

    HDC m_dc;
    int32_t m_width;
    int32_t m_height;
    int m_savedState = 0;
    std::vector<std::wstring>* m_textLines;
};

struct PaintedText {
    HWND window;
    uint64_t stamp;
    std::vector<std::wstring> lines;
};

// The last paint's text of each window, touched on the UI thread only.
std::vector<PaintedText>& PaintedTexts()
{
    static std::vector<PaintedText> texts;
    return texts;
}

void KeepPaintedText(HWND window, std::vector<std::wstring>&& lines)
{
    static uint64_t stamp = 0;
    std::vector<PaintedText>& texts = PaintedTexts();
    auto found =
        std::find_if(texts.begin(), texts.end(), [window](const PaintedText& t) { return t.window == window; });
    if (found == texts.end()) {
        if (texts.size() >= kMaxPaintedWindows) {
            found = std::min_element(
                texts.begin(), texts.end(),
                [](const PaintedText& a, const PaintedText& b) { return a.stamp < b.stamp; });
        } else {
            found = texts.insert(texts.end(), PaintedText{});
        }
        found->window = window;
    }
    found->stamp = ++stamp;
    found->lines = std::move(lines);
}

} // namespace

std::unique_ptr<IRkGraphicsContextImp> CreateWinGraphicsContext(HDC dc, int32_t width, int32_t height,
                                                                std::vector<std::wstring>* textLines)
{
    return std::make_unique<CRkWinGraphicsContext>(dc, width, height, textLines);
}

void PaintWinComponent(HWND window, IRkComponentHost& host)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (!dc)
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    const int32_t width = client.right - client.left;
    const int32_t height = client.bottom - client.top;
    if (width > 0 && height > 0) {
        std::vector<std::wstring> lines;
        HDC memory = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = memory ? ::CreateCompatibleBitmap(dc, width, height) : nullptr;
        if (bitmap) {
            HGDIOBJ previous = ::SelectObject(memory, bitmap);
            {
                auto context = CreateWinGraphicsContext(memory, width, height, &lines);
                context->Erase(RkRect{0, 0, width, height});
                host.OnPaint(*context);
            }
            ::BitBlt(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
                     paint.rcPaint.bottom - paint.rcPaint.top, memory, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
            ::SelectObject(memory, previous);
            ::DeleteObject(bitmap);
        } else {
            // No memory for the off-screen copy: paint straight to the window.
            auto context = CreateWinGraphicsContext(dc, width, height, &lines);
            host.OnPaint(*context);
        }
        if (memory)
            ::DeleteDC(memory);
        KeepPaintedText(window, std::move(lines));
    }
    ::EndPaint(window, &paint);
}

void GetWinPaintedText(HWND window, std::vector<std::wstring>& lines)
{
    lines.clear();
    for (const PaintedText& text : PaintedTexts()) {
        if (text.window == window) {
            lines = text.lines;
            return;
        }
    }
}

void ForgetWinComponentWindow(HWND window)
{
    std::erase_if(PaintedTexts(), [window](const PaintedText& t) { return t.window == window; });
    ForgetWinDropTarget(window);
}
