// PNG pictures of every colour type decoded into premultiplied 32-bit DIB
// sections, and pictures that are refused.
#include "framework/platform/win32/Win32Api.h"
#undef DrawText
#include "framework/ui/RkGraphicsImp.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestPng.h"
#include "framework/platform/win32/ui/WinImage.h"
#include "framework/platform/win32/ui/WinUiShared.h"

namespace {

std::unique_ptr<CRkWinImageImp> Decode(const std::vector<uint8_t>& png, uint32_t id = 0)
{
    return std::unique_ptr<CRkWinImageImp>(CRkWinImageImp::Decode(png.data(), uint32_t(png.size()), id));
}

// Blue, green, red, alpha of a decoded pixel.
std::vector<int> Bgra(const CRkWinImageImp& image, int x, int y)
{
    const uint8_t* p = image.GetPixel(x, y);
    return p ? std::vector<int>{p[0], p[1], p[2], p[3]} : std::vector<int>{};
}

TEST(WinImage, PaletteImagesWithTransparencyAreExpandedAndPremultiplied)
{
    // 2-bit palette, 3 x 2, the second entry half transparent, the third
    // fully transparent.
    TestPicture picture;
    picture.width = 3;
    picture.height = 2;
    picture.colorType = PNG_COLOR_TYPE_PALETTE;
    picture.bitDepth = 2;
    picture.palette = {{255, 0, 0}, {0, 200, 100}, {10, 20, 30}, {1, 2, 3}};
    picture.transparency = {255, 128, 0};
    picture.rows = {{0b00011000}, {0b11000000}}; // row 0: 0 1 2, row 1: 3 0 0
    auto image = Decode(EncodePng(picture), 10004);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(image->GetHeight(), 2);
    EXPECT_EQ(image->GetResourceId(), 10004u);
    EXPECT_EQ(Bgra(*image, 0, 0), (std::vector<int>{0, 0, 255, 255}));
    EXPECT_EQ(Bgra(*image, 1, 0), (std::vector<int>{50, 100, 0, 128}));
    EXPECT_EQ(Bgra(*image, 2, 0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(Bgra(*image, 0, 1), (std::vector<int>{3, 2, 1, 255})) << "past the tRNS entries is opaque";
    EXPECT_FALSE(image->IsOpaque());
    EXPECT_TRUE(Bgra(*image, 3, 0).empty());
    BITMAP bitmap{};
    ASSERT_TRUE(::GetObjectW(image->GetBitmap(), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmBitsPixel, 32);
    EXPECT_EQ(bitmap.bmWidth, 3);
    EXPECT_EQ(bitmap.bmHeight, 2);
}

TEST(WinImage, GreyImagesOfAnyDepthBecomeOpaqueRgb)
{
    TestPicture bits;
    bits.width = 10;
    bits.colorType = PNG_COLOR_TYPE_GRAY;
    bits.bitDepth = 1;
    bits.rows = {{0b10100000, 0b01000000}};
    auto one = Decode(EncodePng(bits));
    ASSERT_TRUE(one);
    EXPECT_TRUE(one->IsOpaque());
    EXPECT_EQ(Bgra(*one, 0, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(Bgra(*one, 1, 0), (std::vector<int>{0, 0, 0, 255}));
    EXPECT_EQ(Bgra(*one, 2, 0), (std::vector<int>{255, 255, 255, 255}));
    EXPECT_EQ(Bgra(*one, 9, 0), (std::vector<int>{255, 255, 255, 255}));

    // 16-bit grey with a transparent grey value.
    TestPicture deep;
    deep.width = 2;
    deep.colorType = PNG_COLOR_TYPE_GRAY;
    deep.bitDepth = 16;
    deep.transparency = {0x12, 0x34};
    deep.rows = {{0x80, 0x80, 0x12, 0x34}};
    auto sixteen = Decode(EncodePng(deep));
    ASSERT_TRUE(sixteen);
    EXPECT_EQ(Bgra(*sixteen, 0, 0), (std::vector<int>{128, 128, 128, 255}));
    EXPECT_EQ(Bgra(*sixteen, 1, 0), (std::vector<int>{0, 0, 0, 0}));

    TestPicture greyAlpha;
    greyAlpha.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    greyAlpha.rows = {{200, 51}};
    auto withAlpha = Decode(EncodePng(greyAlpha));
    ASSERT_TRUE(withAlpha);
    EXPECT_EQ(Bgra(*withAlpha, 0, 0), (std::vector<int>{40, 40, 40, 51}));
}

TEST(WinImage, SixteenBitAndInterlacedColourImages)
{
    TestPicture deep;
    deep.width = 2;
    deep.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    deep.bitDepth = 16;
    deep.rows = {{0xFF, 0xFF, 0x00, 0x00, 0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}};
    auto image = Decode(EncodePng(deep));
    ASSERT_TRUE(image);
    EXPECT_EQ(Bgra(*image, 0, 0), (std::vector<int>{128, 0, 255, 255}));
    EXPECT_EQ(Bgra(*image, 1, 0), (std::vector<int>{0, 0, 0, 0}));

    TestPicture interlaced;
    interlaced.width = 9;
    interlaced.height = 9;
    interlaced.colorType = PNG_COLOR_TYPE_RGB;
    interlaced.interlaced = true;
    for (uint32_t y = 0; y < 9; ++y) {
        std::vector<uint8_t> row;
        for (uint32_t x = 0; x < 9; ++x)
            row.insert(row.end(), {uint8_t(x * 20), uint8_t(y * 20), 7});
        interlaced.rows.push_back(row);
    }
    auto adam7 = Decode(EncodePng(interlaced));
    ASSERT_TRUE(adam7);
    EXPECT_TRUE(adam7->IsOpaque());
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(Bgra(*adam7, x, y), (std::vector<int>{7, y * 20, x * 20, 255})) << x << "," << y;
}

TEST(WinImage, BrokenAndOversizedPicturesAreRefused)
{
    TestPicture picture;
    picture.width = 4;
    picture.height = 4;
    picture.colorType = PNG_COLOR_TYPE_RGB;
    picture.rows.assign(4, std::vector<uint8_t>(12, 90));
    const std::vector<uint8_t> good = EncodePng(picture);
    ASSERT_TRUE(Decode(good));

    EXPECT_FALSE(Decode({}));
    EXPECT_FALSE(CRkWinImageImp::Decode(nullptr, 100, 0));
    std::vector<uint8_t> truncated(good.begin(), good.end() - 20);
    EXPECT_FALSE(Decode(truncated)) << "a picture without its end was taken";
    std::vector<uint8_t> corrupt = good;
    corrupt[good.size() / 2 + 8] ^= 0x55; // inside the image data: its CRC no longer matches
    EXPECT_FALSE(Decode(corrupt));
    std::vector<uint8_t> notPng = good;
    notPng[1] = 'Q';
    EXPECT_FALSE(Decode(notPng));

    // The header of a picture wider than the limit (the rows never come).
    TestPicture wide;
    wide.width = kMaxWinImageSide + 1;
    wide.colorType = PNG_COLOR_TYPE_GRAY;
    wide.bitDepth = 1;
    wide.rows = {std::vector<uint8_t>((wide.width + 7) / 8, 0)};
    EXPECT_FALSE(Decode(EncodePng(wide)));
    // Within the side limit but more pixels than allowed.
    TestPicture big;
    big.width = 8192;
    big.height = 4096;
    big.colorType = PNG_COLOR_TYPE_GRAY;
    big.bitDepth = 1;
    big.rows.assign(big.height, std::vector<uint8_t>(big.width / 8, 0));
    EXPECT_FALSE(Decode(EncodePng(big)));
    // At the limit it is decoded.
    TestPicture edge;
    edge.width = kMaxWinImageSide;
    edge.colorType = PNG_COLOR_TYPE_GRAY;
    edge.bitDepth = 8;
    edge.rows = {std::vector<uint8_t>(edge.width, 33)};
    auto atLimit = Decode(EncodePng(edge));
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(Bgra(*atLimit, int(kMaxWinImageSide) - 1, 0), (std::vector<int>{33, 33, 33, 255}));
}

TEST(WinImage, TheSharedEntryDecodes)
{
    TestPicture picture;
    picture.rows = {{1, 2, 3, 255}};
    const std::vector<uint8_t> png = EncodePng(picture);
    std::unique_ptr<IRkImageImp> image(CreateWinImage(png.data(), uint32_t(png.size()), 10005));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetResourceId(), 10005u);
    EXPECT_EQ(image->GetWidth(), 1);
    EXPECT_FALSE(CreateWinImage(png.data(), 8, 1));
}

} // namespace
