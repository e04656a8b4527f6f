// A GDI font with the metrics the framework lays out with.
#pragma once

#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkGraphicsImp.h"

class CRkWinFontImp final : public IRkFontImp {
public:
    // Creates the font described by `face`; when GDI cannot, the stock GUI
    // font is used instead so that there is always a font to draw with.
    explicit CRkWinFontImp(const LOGFONTW& face);
    ~CRkWinFontImp() override;
    CRkWinFontImp(const CRkWinFontImp&) = delete;
    CRkWinFontImp& operator=(const CRkWinFontImp&) = delete;

    HFONT GetHandle() const { return m_font; }
    // The face name and height (negative: character height in pixels).
    const LOGFONTW& GetFace() const { return m_face; }

    // IRkFontImp
    // The dialog-base width: the width of the 52 letters "A".."Z", "a".."z"
    // divided by 52, rounded (what Windows uses for dialog units).
    int32_t GetAverageCharWidth() const override { return m_averageWidth; }
    // tmHeight: ascent plus descent, without the external leading.
    int32_t GetLineHeight() const override { return m_lineHeight; }
    int32_t MeasureText(const CRkString& text) const override;

private:
    LOGFONTW m_face{};
    HFONT m_font = nullptr;
    bool m_owned = false;
    // A memory DC with the font selected, kept for measuring.
    HDC m_measureDc = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    int32_t m_averageWidth = 0;
    int32_t m_lineHeight = 0;
};

// The font implementation behind `font` when it is one of this layer's,
// else null.
const CRkWinFontImp* AsWinFont(const IRkFontImp& font);
