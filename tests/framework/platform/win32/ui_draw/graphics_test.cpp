// Drawing through the GDI graphics context into a 32-bit canvas, read back
// pixel by pixel, and painting real windows through a memory DC.
#include "framework/platform/win32/Win32Api.h"
#undef DrawText
#include "framework/ui/RkGraphicsImp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "TestComponentWindows.h"
#include "TestPng.h"
#include "framework/core/RkColor.h"
#include "framework/platform/win32/ui/WinGraphics.h"
#include "framework/platform/win32/ui/WinImage.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

const COLORREF kBackground = RGB(1, 2, 3);

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::unique_ptr<CRkWinImageImp> MakeImage(const TestPicture& picture)
{
    const std::vector<uint8_t> png = EncodePng(picture);
    return std::unique_ptr<CRkWinImageImp>(CRkWinImageImp::Decode(png.data(), uint32_t(png.size()), 7));
}

TEST(WinGraphics, FillsEraseAndLinesColourTheirPixelsAndNothingOutsideTheComponent)
{
    Canvas canvas(40, 30, kBackground);
    {
        auto context = CreateWinGraphicsContext(canvas.Dc(), 30, 20);
        context->FillRect(RkRect{5, 5, 10, 4}, CRkColor(255, 0, 0));
        context->FillRect(RkRect{25, 15, 20, 20}, CRkColor(0, 255, 0)); // runs off the component
        context->FillRect(RkRect{0, 0, -4, 6}, CRkColor(255, 255, 255));
        context->Erase(RkRect{0, 10, 2, 2});
        context->DrawLine(1, 12, 8, 12, CRkColor(0, 0, 255));
        context->DrawLine(20, 1, 20, 6, CRkColor(0, 0, 255));
    }
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(14, 8), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(15, 8), kBackground);
    EXPECT_EQ(canvas.At(14, 9), kBackground);
    EXPECT_EQ(canvas.At(4, 5), kBackground);

    EXPECT_EQ(canvas.At(29, 19), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(30, 19), kBackground) << "drawn right of the component";
    EXPECT_EQ(canvas.At(29, 20), kBackground) << "drawn below the component";
    EXPECT_EQ(canvas.At(0, 0), kBackground) << "a rectangle of negative width was filled";

    EXPECT_EQ(canvas.At(1, 11), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(canvas.At(2, 11), kBackground);

    for (int x = 1; x < 8; ++x)
        EXPECT_EQ(canvas.At(x, 12), RGB(0, 0, 255)) << x;
    EXPECT_EQ(canvas.At(8, 12), kBackground) << "the end point is drawn";
    EXPECT_EQ(canvas.At(20, 5), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(20, 6), kBackground) << "the end point is drawn";
}

TEST(WinGraphics, TextIsDrawnInsideItsBoxOnTheBackgroundAndRecorded)
{
    const IRkFontImp& font = GetWinFont(kFontWindow);
    const CRkString hello(u"Hello, W\u00f6rld");
    const int width = font.MeasureText(hello);
    const int height = font.GetLineHeight();
    ASSERT_GT(width, 0);
    Canvas canvas(200, 60, RGB(255, 0, 0));
    std::vector<std::wstring> lines;
    {
        auto context = CreateWinGraphicsContext(canvas.Dc(), 200, 40, &lines);
        context->DrawText(10, 5, hello, CRkColor(0, 0, 0), font);
        context->DrawText(10, 45, CRkString(u"below the component"), CRkColor(0, 0, 0), font);
        context->DrawText(-500, 5, CRkString(u"left of it"), CRkColor(0, 0, 0), font);
    }
    int inked = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            const COLORREF pixel = canvas.At(x, y);
            const bool inBox = x >= 10 && x < 10 + width && y >= 5 && y < 5 + height;
            if (!inBox) {
                ASSERT_EQ(pixel, RGB(255, 0, 0)) << "drawn outside the text's box at " << x << "," << y;
            } else if (pixel != RGB(255, 0, 0)) {
                // Transparent: the red stays around the glyphs.
                ++inked;
                ASSERT_LT(GetGValue(pixel), 200) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inked, 20);
    ASSERT_EQ(lines.size(), 1u) << "text outside the component counts as drawn";
    EXPECT_EQ(lines[0], L"Hello, W\u00f6rld");
}

TEST(WinGraphics, TextIsClippedToTheComponent)
{
    const IRkFontImp& font = GetWinFont(kFontLogList);
    Canvas canvas(200, 30, RGB(255, 255, 255));
    {
        auto context = CreateWinGraphicsContext(canvas.Dc(), 25, 30);
        context->DrawText(0, 0, CRkString(u"WWWWWWWWWWWWWWWWWWWW"), CRkColor(0, 0, 0), font);
    }
    bool inkedInside = false;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x)
            if (x >= 25)
                ASSERT_EQ(canvas.At(x, y), RGB(255, 255, 255)) << x << "," << y;
            else if (canvas.At(x, y) != RGB(255, 255, 255))
                inkedInside = true;
    }
    EXPECT_TRUE(inkedInside);
}

TEST(WinGraphics, TheDcIsGivenBackAsItWas)
{
    Canvas canvas(20, 20, kBackground);
    HDC dc = canvas.Dc();
    HGDIOBJ font = ::GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ pen = ::GetCurrentObject(dc, OBJ_PEN);
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, RGB(9, 8, 7));
    {
        auto context = CreateWinGraphicsContext(dc, 10, 10);
        context->DrawText(0, 0, CRkString(u"x"), CRkColor(200, 0, 0), GetWinFont(kFontWindow));
        context->DrawLine(0, 0, 5, 5, CRkColor(0, 200, 0));
        context->FillRect(RkRect{1, 1, 2, 2}, CRkColor(0, 0, 200));
    }
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_FONT), font);
    EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(::GetBkMode(dc), OPAQUE);
    EXPECT_EQ(::GetTextColor(dc), RGB(9, 8, 7));
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetClipRgn(dc, clip), 0) << "the component's clipping stayed on the DC";
    ::DeleteObject(clip);
}

TEST(WinGraphics, ImagesBlendTheirAlphaOverTheBackgroundAndScale)
{
    // Half-transparent red beside opaque green.
    TestPicture picture;
    picture.width = 2;
    picture.rows = {{255, 0, 0, 128, 0, 255, 0, 255}};
    auto blended = MakeImage(picture);
    ASSERT_TRUE(blended);
    ASSERT_FALSE(blended->IsOpaque());
    TestPicture white;
    white.colorType = PNG_COLOR_TYPE_RGB;
    white.rows = {{255, 255, 255}};
    auto opaque = MakeImage(white);
    ASSERT_TRUE(opaque);
    ASSERT_TRUE(opaque->IsOpaque());

    Canvas canvas(30, 10, RGB(0, 0, 255));
    {
        auto context = CreateWinGraphicsContext(canvas.Dc(), 20, 10);
        context->DrawImage(*blended, RkRect{0, 0, 4, 2});
        context->DrawImage(*opaque, RkRect{10, 2, 5, 5});
        context->DrawImage(*opaque, RkRect{18, 0, 6, 6}); // half outside
        context->DrawImage(*opaque, RkRect{0, 4, 0, 3});
    }
    for (int y = 0; y < 2; ++y) {
        EXPECT_TRUE(Near(canvas.At(0, y), RGB(128, 0, 127), 3)) << std::hex << canvas.At(0, y);
        EXPECT_TRUE(Near(canvas.At(1, y), RGB(128, 0, 127), 3));
        EXPECT_EQ(canvas.At(2, y), RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(3, y), RGB(0, 255, 0));
    }
    EXPECT_EQ(canvas.At(4, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(0, 2), RGB(0, 0, 255));
    for (int y = 2; y < 7; ++y)
        for (int x = 10; x < 15; ++x)
            EXPECT_EQ(canvas.At(x, y), RGB(255, 255, 255)) << x << "," << y;
    EXPECT_EQ(canvas.At(15, 2), RGB(0, 0, 255));
    EXPECT_EQ(canvas.At(19, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(20, 0), RGB(0, 0, 255)) << "drawn right of the component";
    EXPECT_EQ(canvas.At(0, 5), RGB(0, 0, 255)) << "an image of zero width was drawn";
}

// GDI objects of this process. Wine does not count them for
// GetGuiResources, so there the live entries of the handle table are
// counted instead.
DWORD CountGdiObjects()
{
    const DWORD counted = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    DWORD live = 0;
    for (UINT_PTR slot = 1; slot < 0x10000; ++slot)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0)
            ++live;
    return live;
}

class WinPaint : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = CreateTestWindow(120, 50);
        ASSERT_TRUE(window);
        SetTestWindowHost(window, &host);
    }
    void TearDown() override
    {
        if (window)
            ::DestroyWindow(window);
        PumpMessages();
    }
    void Paint()
    {
        ::InvalidateRect(window, nullptr, FALSE);
        ::UpdateWindow(window);
    }

    HWND window = nullptr;
    TestHost host;
};

TEST_F(WinPaint, APaintShowsWhatTheHostDrewAndRecordsItsText)
{
    host.paint = [](IRkGraphicsContextImp& context) {
        context.FillRect(RkRect{0, 0, 120, 50}, CRkColor(255, 0, 0));
        context.FillRect(RkRect{100, 40, 20, 10}, CRkColor(0, 0, 255));
        context.DrawText(4, 4, CRkString(u"Row one"), CRkColor(0, 0, 0), GetWinFont(kFontLogList));
        context.DrawText(4, 20, CRkString(u"Row two"), CRkColor(0, 0, 0), GetWinFont(kFontLogList));
    };
    Paint();
    EXPECT_EQ(host.paints, 1);
    std::vector<std::wstring> lines;
    GetWinPaintedText(window, lines);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Row one", L"Row two"}));
    HDC dc = ::GetDC(window);
    EXPECT_EQ(::GetPixel(dc, 110, 45), RGB(0, 0, 255));
    EXPECT_EQ(::GetPixel(dc, 90, 45), RGB(255, 0, 0));
    ::ReleaseDC(window, dc);

    host.paint = [](IRkGraphicsContextImp& context) {
        context.DrawText(4, 4, CRkString(u"Row three"), CRkColor(0, 0, 0), GetWinFont(kFontWindow));
    };
    Paint();
    GetWinPaintedText(window, lines);
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"Row three"}));

    HWND other = CreateTestWindow(30, 30);
    GetWinPaintedText(other, lines);
    EXPECT_TRUE(lines.empty()) << "a window that never painted has text";
    ::DestroyWindow(window);
    window = nullptr;
    ::DestroyWindow(other);
    PumpMessages();
}

TEST_F(WinPaint, TheRecordOfAPaintIsBounded)
{
    host.paint = [](IRkGraphicsContextImp& context) {
        std::u16string longLine(5000, u'x');
        context.DrawText(0, 0, CRkString(longLine.c_str(), uint32_t(longLine.size())), CRkColor(0, 0, 0),
                         GetWinFont(kFontWindow));
        for (int i = 0; i < 3000; ++i)
            context.DrawText(0, 10, CRkString(u"y"), CRkColor(0, 0, 0), GetWinFont(kFontWindow));
    };
    Paint();
    std::vector<std::wstring> lines;
    GetWinPaintedText(window, lines);
    ASSERT_EQ(lines.size(), kMaxPaintedLines);
    EXPECT_EQ(lines[0], std::wstring(kMaxPaintedLineUnits, L'x'));
    EXPECT_EQ(lines[1], L"y");

    // As many other windows painting after it push this one's text out.
    std::vector<HWND> others;
    TestHost otherHost;
    otherHost.paint = [](IRkGraphicsContextImp& context) {
        context.DrawText(0, 0, CRkString(u"other"), CRkColor(0, 0, 0), GetWinFont(kFontWindow));
    };
    for (size_t i = 0; i < kMaxPaintedWindows; ++i) {
        HWND other = CreateTestWindow(20, 20);
        SetTestWindowHost(other, &otherHost);
        ::InvalidateRect(other, nullptr, FALSE);
        ::UpdateWindow(other);
        others.push_back(other);
    }
    GetWinPaintedText(window, lines);
    EXPECT_TRUE(lines.empty()) << "more windows than the bound are remembered";
    GetWinPaintedText(others.back(), lines);
    EXPECT_EQ(lines, std::vector<std::wstring>{L"other"});
    GetWinPaintedText(others.front(), lines);
    EXPECT_EQ(lines, std::vector<std::wstring>{L"other"});
    for (HWND other : others)
        ::DestroyWindow(other);
}

TEST_F(WinPaint, AThousandPaintsLeaveNoGdiObjectBehind)
{
    TestPicture picture;
    picture.width = 2;
    picture.rows = {{255, 0, 0, 128, 0, 255, 0, 255}};
    auto blended = MakeImage(picture);
    TestPicture white;
    white.colorType = PNG_COLOR_TYPE_RGB;
    white.rows = {{255, 255, 255}};
    auto opaque = MakeImage(white);
    ASSERT_TRUE(blended && opaque);
    host.paint = [&](IRkGraphicsContextImp& context) {
        context.Erase(RkRect{0, 0, 120, 50});
        context.FillRect(RkRect{0, 0, 60, 20}, CRkColor(kSysColorSelection));
        context.DrawLine(0, 21, 120, 21, CRkColor(192, 192, 192));
        context.DrawText(22, 3, CRkString(u"Hello!"), CRkColor(0, 0, 0), GetWinFont(kFontLogList));
        context.DrawImage(*blended, RkRect{3, 3, 16, 16});
        context.DrawImage(*opaque, RkRect{80, 3, 16, 16});
    };
    Paint();
    const DWORD before = CountGdiObjects();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1000; ++i)
        Paint();
    EXPECT_EQ(host.paints, 1001);
    EXPECT_EQ(CountGdiObjects(), before);
}

} // namespace
