#include <zlib.h>

#include <random>

#include <gtest/gtest.h>

#include "PngTestImages.h"
#include "book/PngReencode.h"
#include "framework/core/MemBuffer.h"

namespace {

uint32_t BigU32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// The image data of a PNG: every IDAT chunk joined and inflated.
std::string InflatedImageData(const std::string& png)
{
    const auto* data = reinterpret_cast<const uint8_t*>(png.data());
    std::string deflated;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t size = BigU32(data + at);
        if (png.compare(at + 4, 4, "IDAT") == 0)
            deflated.append(png, at + 8, size);
        at += 12 + size;
    }
    std::string out(16 << 20, '\0');
    uLongf length = out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(deflated.data()),
                         deflated.size()),
              Z_OK);
    out.resize(length);
    return out;
}

std::string Bytes(const CMemBuffer& buffer, uint32_t from = 0)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()) + from, buffer.GetSize() - from);
}

uint32_t Reencode(const std::string& png, CMemBuffer& out, uint32_t limit = kMaxImageDataSize)
{
    return ReencodePngBytes(reinterpret_cast<const uint8_t*>(png.data()), png.size(), out, limit);
}

// Re-encodes `source` and checks everything the stored form promises: the
// same image and palette, no interlace, only IHDR/PLTE/IDAT/IEND, every row
// filtered with None.
void ExpectFaithfulReencoding(const TestPng& source)
{
    SCOPED_TRACE("color type " + std::to_string(source.colorType) + ", depth " + std::to_string(source.bitDepth) +
                 (source.interlaced ? ", interlaced" : ""));
    const std::string input = EncodeTestPng(source);
    ASSERT_FALSE(input.empty());
    CMemBuffer out(1024, 1024);
    ASSERT_EQ(Reencode(input, out), kReencodeOk);
    const std::string stored = Bytes(out);

    const DecodedPng decoded = DecodeTestPng(out.GetData(), out.GetSize());
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, source.width);
    EXPECT_EQ(decoded.height, source.height);
    EXPECT_EQ(decoded.bitDepth, source.bitDepth);
    EXPECT_EQ(decoded.colorType, source.colorType);
    EXPECT_EQ(decoded.interlace, PNG_INTERLACE_NONE);
    EXPECT_TRUE(SamePalette(decoded.palette, source.palette));
    EXPECT_EQ(decoded.pixels, source.pixels);

    std::vector<std::string> expected{"IHDR"};
    if (!source.palette.empty())
        expected.push_back("PLTE");
    std::vector<std::string> chunks = decoded.chunks;
    // IDAT may be split; fold repeats into one name.
    chunks.erase(std::unique(chunks.begin(), chunks.end()), chunks.end());
    expected.push_back("IDAT");
    expected.push_back("IEND");
    EXPECT_EQ(chunks, expected);

    const std::string raw = InflatedImageData(stored);
    const size_t rowBytes = source.pixels.size() / source.height;
    ASSERT_EQ(raw.size(), (rowBytes + 1) * source.height);
    for (uint32_t y = 0; y < source.height; ++y)
        EXPECT_EQ(raw[y * (rowBytes + 1)], 0) << "row " << y;
}

TEST(PngReencode, PaletteAndGrayscaleAtEveryDepthKeepTheirPixels)
{
    for (int depth : {1, 2, 4, 8})
        ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_PALETTE, depth, 13, 7));
    for (int depth : {1, 2, 4, 8, 16})
        ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_GRAY, depth, 11, 9));
    ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 1, 1));
}

TEST(PngReencode, InterlacedImagesAreStoredNonInterlaced)
{
    ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 17, 19, true));
    ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 2, 9, 5, true));
    ExpectFaithfulReencoding(MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 33, 3, true));
}

TEST(PngReencode, AncillaryChunksAreDropped)
{
    TestPng source = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 6, 4);
    source.withTextAndGamma = true;
    const std::string input = EncodeTestPng(source);
    const auto names = PngChunkNames(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    ASSERT_NE(std::find(names.begin(), names.end(), "gAMA"), names.end());
    ASSERT_NE(std::find(names.begin(), names.end(), "tEXt"), names.end());
    ExpectFaithfulReencoding(source);
}

TEST(PngReencode, OtherColourTypesFailWithCode2AndWriteNothing)
{
    for (int type : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA, PNG_COLOR_TYPE_GRAY_ALPHA}) {
        CMemBuffer out(64, 64);
        out.Append("keep", 4);
        EXPECT_EQ(Reencode(EncodeTestPng(MakeTestPng(type, 8, 3, 3)), out), kReencodeColorType) << type;
        EXPECT_EQ(Bytes(out), "keep");
    }
}

TEST(PngReencode, DamagedFilesFailWithCode1AndLeaveTheBufferAsItWas)
{
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 40, 30));
    std::vector<std::pair<std::string, std::string>> cases;
    cases.emplace_back("empty", "");
    cases.emplace_back("signature only", good.substr(0, 8));
    cases.emplace_back("cut in IHDR", good.substr(0, 20));
    // The image data of this pattern is far more than 40 bytes long.
    cases.emplace_back("cut in IDAT", good.substr(0, good.size() - 40));
    std::string badSignature = good;
    badSignature[1] = 'Q';
    cases.emplace_back("bad signature", badSignature);
    std::string badHeaderCrc = good;
    badHeaderCrc[29] = static_cast<char>(badHeaderCrc[29] ^ 0x55); // IHDR CRC
    cases.emplace_back("IHDR CRC", badHeaderCrc);
    std::string badDataCrc = good;
    const size_t idat = good.find("IDAT");
    const uint32_t idatSize = BigU32(reinterpret_cast<const uint8_t*>(good.data()) + idat - 4);
    badDataCrc[idat + 4 + idatSize] = static_cast<char>(badDataCrc[idat + 4 + idatSize] ^ 1);
    cases.emplace_back("IDAT CRC", badDataCrc);
    std::string badData = good;
    for (size_t i = idat + 6; i < idat + 4 + idatSize; ++i)
        badData[i] = static_cast<char>(0xFF);
    cases.emplace_back("IDAT garbage", badData);
    std::string badDepth = good;
    badDepth[24] = 3; // a bit depth PNG does not have
    cases.emplace_back("bit depth 3", badDepth);

    for (const auto& [what, bytes] : cases) {
        CMemBuffer out(64, 64);
        out.Append("keep", 4);
        EXPECT_EQ(Reencode(bytes, out), kReencodeReadFailed) << what;
        EXPECT_EQ(Bytes(out), "keep") << what;
    }
}

TEST(PngReencode, DamagedAncillaryChunkIsIgnored)
{
    TestPng source = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 5, 5);
    source.withTextAndGamma = true;
    std::string bytes = EncodeTestPng(source);
    const size_t text = bytes.find("tEXt");
    ASSERT_NE(text, std::string::npos);
    bytes[text + 5] = 'X'; // the chunk's data no longer matches its CRC
    CMemBuffer out(64, 64);
    ASSERT_EQ(Reencode(bytes, out), kReencodeOk);
    const DecodedPng decoded = DecodeTestPng(out.GetData(), out.GetSize());
    EXPECT_EQ(decoded.pixels, source.pixels);
}

TEST(PngReencode, SizeLimitIsCheckedWhileWriting)
{
    // Noise does not compress: 260 x 260 grey bytes stay above the limit.
    TestPng noise = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 260, 260);
    std::mt19937 random(7);
    for (uint8_t& p : noise.pixels)
        p = static_cast<uint8_t>(random());
    const std::string input = EncodeTestPng(noise);

    CMemBuffer out(64, 64);
    out.Append("keep", 4);
    EXPECT_EQ(Reencode(input, out), kReencodeTooLarge);
    EXPECT_EQ(Bytes(out), "keep");

    EXPECT_EQ(Reencode(input, out, kNoImageSizeLimit), kReencodeOk);
    EXPECT_GE(out.GetSize() - 4, kMaxImageDataSize);
    EXPECT_EQ(DecodeTestPng(out.GetData() + 4, out.GetSize() - 4).pixels, noise.pixels);

    // The limit itself is refused, one byte below it is kept.
    CMemBuffer exact(64, 64);
    ASSERT_EQ(Reencode(input, exact, kNoImageSizeLimit), kReencodeOk);
    const uint32_t size = exact.GetSize();
    CMemBuffer again(64, 64);
    EXPECT_EQ(Reencode(input, again, size), kReencodeTooLarge);
    EXPECT_EQ(Reencode(input, again, size + 1), kReencodeOk);
    EXPECT_EQ(again.GetSize(), size);
}

TEST(PngReencode, HugeDimensionsAreRefusedWithoutDecoding)
{
    // A header that promises 60000 x 60000 pixels over a tiny data stream.
    std::string bytes = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 2, 2));
    const uint8_t huge[8] = {0, 0, 0xEA, 0x60, 0, 0, 0xEA, 0x60};
    bytes.replace(16, 8, reinterpret_cast<const char*>(huge), 8);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()) + 12, 17);
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(crc >> (24 - 8 * i));
    CMemBuffer out(64, 64);
    EXPECT_EQ(Reencode(bytes, out), kReencodeTooLargeToDecode);

    // Wider than a 16-bit size can say.
    const uint8_t wide[8] = {0, 1, 0, 0, 0, 0, 0, 1};
    bytes.replace(16, 8, reinterpret_cast<const char*>(wide), 8);
    const uLong crc2 = crc32(0, reinterpret_cast<const Bytef*>(bytes.data()) + 12, 17);
    for (int i = 0; i < 4; ++i)
        bytes[29 + i] = static_cast<char>(crc2 >> (24 - 8 * i));
    EXPECT_EQ(Reencode(bytes, out), kReencodeTooLargeToDecode);
    EXPECT_EQ(out.GetSize(), 0u);
}

// Replaces the PLTE chunk of `png` by one of `entries` colours.
std::string WithPalette(const std::string& png, uint32_t entries)
{
    const size_t plte = png.find("PLTE") - 4;
    const uint32_t oldSize = BigU32(reinterpret_cast<const uint8_t*>(png.data()) + plte);
    std::string chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += static_cast<char>((entries * 3) >> shift);
    chunk += "PLTE";
    for (uint32_t i = 0; i < entries * 3; ++i)
        chunk += static_cast<char>(i);
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(chunk.data()) + 4, entries * 3 + 4);
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += static_cast<char>(crc >> shift);
    return png.substr(0, plte) + chunk + png.substr(plte + 12 + oldSize);
}

TEST(PngReencode, PaletteLongerThanTheDepthAllowsIsCut)
{
    const TestPng source = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 4, 6, 6);
    CMemBuffer out(64, 64);
    ASSERT_EQ(Reencode(WithPalette(EncodeTestPng(source), 256), out), kReencodeOk);
    const DecodedPng decoded = DecodeTestPng(out.GetData(), out.GetSize());
    ASSERT_EQ(decoded.palette.size(), 16u);
    EXPECT_EQ(decoded.palette[15].blue, 47);
    EXPECT_EQ(decoded.pixels, source.pixels);
}

TEST(PngReencode, ImagesAreAppendedBackToBack)
{
    const TestPng a = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 4, 8, 8);
    const TestPng b = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 5, 2);
    CMemBuffer out(64, 64);
    ASSERT_EQ(Reencode(EncodeTestPng(a), out), kReencodeOk);
    const uint32_t split = out.GetSize();
    ASSERT_EQ(Reencode(EncodeTestPng(b), out), kReencodeOk);
    EXPECT_EQ(DecodeTestPng(out.GetData(), split).pixels, a.pixels);
    EXPECT_EQ(DecodeTestPng(out.GetData() + split, out.GetSize() - split).pixels, b.pixels);
}

} // namespace
