// The window and log list fonts: the system's message font, with metrics
// that agree with what GDI measures.
#include "framework/platform/win32/Win32Api.h"
#undef DrawText
#include "framework/ui/RkGraphicsImp.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cwchar>
#include <string>

#include "framework/core/RkString.h"
#include "framework/platform/win32/ui/WinFont.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

LOGFONTW MessageFont()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    EXPECT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    return metrics.lfMessageFont;
}

SIZE Extent(HFONT font, const wchar_t* text)
{
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, int(std::wcslen(text)), &size);
    ::SelectObject(dc, previous);
    ::ReleaseDC(nullptr, dc);
    return size;
}

TEST(WinFont, BothFontsAreTheSystemsMessageFont)
{
    const LOGFONTW expected = MessageFont();
    for (uint32_t number : {kFontWindow, kFontLogList}) {
        HFONT handle = GetWinFontHandle(number);
        ASSERT_TRUE(handle);
        LOGFONTW face{};
        ASSERT_EQ(::GetObjectW(handle, sizeof face, &face), int(sizeof face));
        EXPECT_STREQ(face.lfFaceName, expected.lfFaceName) << number;
        EXPECT_EQ(face.lfHeight, expected.lfHeight) << number;
        EXPECT_EQ(AsWinFont(GetWinFont(number))->GetHandle(), handle);
    }
    EXPECT_NE(&GetWinFont(kFontWindow), &GetWinFont(kFontLogList));
    EXPECT_EQ(&GetWinFont(7), &GetWinFont(kFontWindow)) << "an unknown number is not the window font";
}

TEST(WinFont, MetricsAreThoseGdiGives)
{
    const IRkFontImp& font = GetWinFont(kFontWindow);
    HFONT handle = GetWinFontHandle(kFontWindow);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(dc, handle);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(::GetTextMetricsW(dc, &metrics));
    ::SelectObject(dc, previous);
    ::ReleaseDC(nullptr, dc);

    EXPECT_EQ(font.GetLineHeight(), metrics.tmHeight);
    EXPECT_GE(font.GetLineHeight(), 10);
    EXPECT_LE(font.GetLineHeight(), 40);
    const SIZE alphabet = Extent(handle, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_EQ(font.GetAverageCharWidth(), (alphabet.cx / 26 + 1) / 2);
    EXPECT_GE(font.GetAverageCharWidth(), 4);
    EXPECT_LE(font.GetAverageCharWidth(), 16);
    EXPECT_LE(std::abs(font.GetAverageCharWidth() - int(metrics.tmAveCharWidth)), 2);
}

TEST(WinFont, TextWidthsAreGdisAndGrowWithTheText)
{
    const IRkFontImp& font = GetWinFont(kFontLogList);
    HFONT handle = GetWinFontHandle(kFontLogList);
    EXPECT_EQ(font.MeasureText(CRkString()), 0);
    EXPECT_EQ(font.MeasureText(CRkString(u"Vellumix Errors")), Extent(handle, L"Vellumix Errors").cx);
    EXPECT_EQ(font.MeasureText(CRkString(u"\u00c4rger \u00fcber \u0152uvre")),
              Extent(handle, L"\u00c4rger \u00fcber \u0152uvre").cx);
    int previous = 0;
    std::u16string text;
    for (char16_t c : std::u16string(u"iWx m.lQ_")) {
        text += c;
        const int width = font.MeasureText(CRkString(text.c_str(), uint32_t(text.size())));
        EXPECT_GT(width, previous) << "after " << text.size() << " characters";
        previous = width;
    }
    EXPECT_GT(font.MeasureText(CRkString(u"WWWW")), font.MeasureText(CRkString(u"iiii")));
}

} // namespace
