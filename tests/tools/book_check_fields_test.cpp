// The checker's verification of the values the format fixes: the
// container header's fields and record entries, and each stored PNG's
// chunk CRCs, header fields and image data size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/tools/SyntheticBook.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookImage.h"

namespace {

using synthetic::Bytes;

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

// The problems of the book, as one text, and whether a line holds `piece`.
std::string Problems(const Bytes& bytes)
{
    return Joined(CheckBook(CBookImage(bytes)));
}

bool Has(const std::string& problems, const std::string& piece)
{
    return problems.find(piece) != std::string::npos;
}

// A PNG with the given header fields whose IDAT chunk holds `rows`
// compressed, with a two-colour palette when asked. Every CRC is right.
Bytes MakePng(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace,
              const std::string& rows, bool palette)
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    synthetic::PutU32(header, width);
    synthetic::PutU32(header, height);
    header.insert(header.end(), {depth, colourType, 0, 0, interlace});
    synthetic::PutChunk(png, "IHDR", header);
    if (palette)
        synthetic::PutChunk(png, "PLTE", Bytes{0, 0, 0, 255, 255, 255});
    synthetic::PutChunk(png, "IDAT", synthetic::Compress(rows));
    synthetic::PutChunk(png, "IEND", Bytes{});
    return png;
}

// The synthetic book with one image record holding `png`.
Bytes BookWithImage(const Bytes& png, uint16_t width, uint16_t height)
{
    synthetic::Book book;
    book.imagePng = png;
    book.imageWidth = width;
    book.imageHeight = height;
    return synthetic::Compose(book);
}

// Offset in the book file of byte `at` of the image record's PNG.
size_t PngByte(const Bytes& book, size_t at)
{
    return synthetic::GetU32(book, synthetic::EntryOffset(8)) + kImageRecordHeaderSize + at;
}

TEST(BookCheckFields, ContainerHeaderValuesTheFormatFixes)
{
    const Bytes good = synthetic::Compose(synthetic::Book());
    ASSERT_EQ(Problems(good), "");
    const struct {
        size_t offset;
        const char* expected;
    } fields[] = {
        {33, "container header: attributes: expected 0x0008, found 0x0009"},
        {35, "container header: version: expected 0, found 1"},
        {43, "container header: modification time: expected 1700000001 (the creation time + 1), found 1700000002"},
        {47, "container header: backup time: expected 0, found 1"},
        {51, "container header: modification number: expected 0, found 1"},
        {55, "container header: application-info offset: expected 0, found 1"},
        {59, "container header: sort-info offset: expected 0, found 1"},
        {71, "container header: unique-ID seed: expected 0, found 1"},
        {75, "container header: next record list: expected 0, found 1"},
        {synthetic::EntryOffset(2) + 4, "record 2: attributes: expected 0, found 0x01"},
        {synthetic::EntryOffset(3) + 7, "record 3: unique ID: expected 0x6F8003 (0x6F8000 + the record number), "
                                        "found 0x6F8002"},
    };
    for (const auto& field : fields) {
        Bytes bad = good;
        if (field.offset == synthetic::EntryOffset(3) + 7)
            bad[field.offset] = 2;
        else
            ++bad[field.offset];
        const std::string problems = Problems(bad);
        EXPECT_TRUE(Has(problems, field.expected)) << field.offset << ":\n" << problems;
        // The one wrong field is the only problem.
        EXPECT_EQ(std::count(problems.begin(), problems.end(), '\n'), 1) << problems;
    }
}

TEST(BookCheckFields, DatabaseNameLengthAndPadding)
{
    const Bytes good = synthetic::Compose(synthetic::Book());
    Bytes bad = good;
    for (size_t i = 0; i < 30; ++i)
        bad[i] = 'n';
    EXPECT_TRUE(Has(Problems(bad), "database name: expected at most 29 characters, found 30")) << Problems(bad);

    bad = good;
    bad[20] = 'x'; // "A Small Book" ends at byte 12
    EXPECT_TRUE(Has(Problems(bad), "database name: expected zero bytes after the NUL, found 0x78 at byte 20"))
        << Problems(bad);

    bad = good;
    for (size_t i = 0; i < 32; ++i)
        bad[i] = 'n';
    EXPECT_TRUE(Has(Problems(bad), "database name: expected a NUL within 32 bytes, found none")) << Problems(bad);
}

TEST(BookCheckFields, EveryPngChunkCrcIsChecked)
{
    const Bytes png = MakePng(20, 10, 8, 3, 0, std::string(10 * 21, '\0'), true);
    const Bytes good = BookWithImage(png, 20, 10);
    ASSERT_EQ(Problems(good), "");

    // The chunks: IHDR at 8, PLTE at 33, IDAT at 51.
    Bytes bad = good;
    bad[PngByte(good, 33 + 8 + 3)] = 7; // a palette byte, CRC left as it was
    std::string problems = Problems(bad);
    EXPECT_TRUE(Has(problems, "record 8 (images): PNG chunk PLTE at byte 33 of the PNG: CRC: expected 0x")) << problems;

    bad = good;
    const size_t idatCrc = PngByte(good, 51 + 8 + synthetic::GetU32(png, 51));
    bad[idatCrc] ^= 0xFF;
    problems = Problems(bad);
    char expected[128];
    std::snprintf(expected, sizeof expected, "PNG chunk IDAT at byte 51 of the PNG: CRC: expected 0x%08X, found 0x%08X",
                  synthetic::GetU32(good, idatCrc), synthetic::GetU32(bad, idatCrc));
    EXPECT_TRUE(Has(problems, expected)) << problems;
    EXPECT_FALSE(Has(problems, "PLTE")) << problems;

    // The empty IEND chunk has its CRC too.
    bad = good;
    const size_t iend = 51 + 12 + synthetic::GetU32(png, 51);
    bad[PngByte(good, iend + 8)] ^= 1;
    problems = Problems(bad);
    EXPECT_TRUE(
        Has(problems, "PNG chunk IEND at byte " + std::to_string(iend) + " of the PNG: CRC: expected 0xAE426082"))
        << problems;
}

TEST(BookCheckFields, ImageDataInflatesToTheRowsOfItsHeader)
{
    // 20 x 10 palette pixels of 8 bits: 10 rows of a filter byte and 20 bytes.
    const std::string rows(10 * 21, '\0');
    auto problemsFor = [](const Bytes& png) { return Problems(BookWithImage(png, 20, 10)); };

    EXPECT_TRUE(Has(problemsFor(MakePng(20, 10, 8, 3, 0, rows.substr(1), true)),
                    "record 8 (images): PNG image data: expected 210 bytes of filtered rows (from the header), "
                    "found 209"));
    EXPECT_TRUE(Has(problemsFor(MakePng(20, 10, 8, 3, 0, rows + '\0', true)),
                    "record 8 (images): PNG image data: expected 210 bytes of filtered rows (from the header), "
                    "found more"));

    std::string badFilter = rows;
    badFilter[21] = 5; // the second row's filter byte
    EXPECT_TRUE(Has(problemsFor(MakePng(20, 10, 8, 3, 0, badFilter, true)),
                    "PNG image data: row filter at byte 21: expected a filter type 0 to 4, found 5"));
    // Filter bytes 1 to 4 and pixel bytes above 4 are data like any other.
    std::string filtered = rows;
    for (size_t row = 0; row < 10; ++row) {
        filtered[row * 21] = char(row % 5);
        filtered[row * 21 + 1] = char(200);
    }
    EXPECT_EQ(problemsFor(MakePng(20, 10, 8, 3, 0, filtered, true)), "");

    // Data that is not a zlib stream, and a stream cut short.
    Bytes png = MakePng(20, 10, 8, 3, 0, rows, true);
    Bytes broken = png;
    broken[51 + 8] = 0xFF; // the zlib header
    const uint32_t idatLength = synthetic::GetU32(png, 51);
    uLong crc = crc32(0, broken.data() + 51 + 4, uInt(idatLength + 4));
    for (int i = 0; i < 4; ++i)
        broken[51 + 8 + idatLength + i] = uint8_t(crc >> (24 - 8 * i));
    EXPECT_TRUE(Has(problemsFor(broken), "PNG image data: expected zlib data, found data that does not inflate"))
        << problemsFor(broken);

    Bytes shortStream = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    shortStream.insert(shortStream.end(), png.begin() + 8, png.begin() + 51); // IHDR and PLTE
    Bytes data = synthetic::Compress(rows);
    data.resize(data.size() - 6); // the adler checksum and a bit more gone
    synthetic::PutChunk(shortStream, "IDAT", data);
    synthetic::PutChunk(shortStream, "IEND", Bytes{});
    EXPECT_TRUE(Has(problemsFor(shortStream), "PNG image data: expected a complete zlib stream, found one cut short"))
        << problemsFor(shortStream);
}

TEST(BookCheckFields, RowSizesFollowBitDepthAndInterlacing)
{
    // 1-bit grayscale, 20 pixels: 3 bytes a row after the filter byte.
    EXPECT_EQ(Problems(BookWithImage(MakePng(20, 10, 1, 0, 0, std::string(10 * 4, '\0'), false), 20, 10)), "");
    EXPECT_TRUE(Has(Problems(BookWithImage(MakePng(20, 10, 1, 0, 0, std::string(10 * 21, '\0'), false), 20, 10)),
                    "expected 40 bytes of filtered rows (from the header), found more"));
    // 4-bit palette, 3 pixels: 2 bytes a row.
    EXPECT_EQ(Problems(BookWithImage(MakePng(3, 2, 4, 3, 0, std::string(2 * 3, '\0'), true), 3, 2)), "");

    // An interlaced 8-bit grayscale image of 10 x 10: the seven passes have
    // 2x2, 1x2, 3x1... pixels: 2*(1+2) + 2*(1+1) + 1*(1+3) + 3*(1+2) + 2*(1+5)
    // + 5*(1+5) + 5*(1+10) = 6 + 4 + 4 + 9 + 12 + 30 + 55 = 120 bytes.
    const std::string problems =
        Problems(BookWithImage(MakePng(10, 10, 8, 0, 1, std::string(120, '\0'), false), 10, 10));
    EXPECT_TRUE(Has(problems, "PNG interlace method: expected 0, found 1")) << problems;
    EXPECT_FALSE(Has(problems, "image data")) << problems;
    EXPECT_TRUE(Has(Problems(BookWithImage(MakePng(10, 10, 8, 0, 1, std::string(110, '\0'), false), 10, 10)),
                    "expected 120 bytes of filtered rows (from the header), found 110"));
}

TEST(BookCheckFields, PngHeaderFields)
{
    std::string problems = Problems(BookWithImage(MakePng(20, 10, 3, 3, 0, std::string(10 * 21, '\0'), true), 20, 10));
    EXPECT_TRUE(Has(problems, "record 8 (images): PNG header: bit depth: expected 1, 2, 4 or 8 for colour type 3, "
                              "found 3"))
        << problems;
    EXPECT_FALSE(Has(problems, "image data")) << problems;

    problems = Problems(BookWithImage(MakePng(20, 10, 8, 3, 0, std::string(10 * 21, '\0'), false), 20, 10));
    EXPECT_TRUE(Has(problems, "PNG header: palette: expected 1 to 256 colours of 3 bytes for bit depth 8, found 0 "
                              "bytes"))
        << problems;

    // More colours than 1 bit can name.
    problems = Problems(BookWithImage(MakePng(20, 10, 1, 3, 0, std::string(10 * 4, '\0'), true), 20, 10));
    EXPECT_EQ(problems, "");
    Bytes png = MakePng(20, 10, 1, 3, 0, std::string(10 * 4, '\0'), false);
    Bytes withBigPalette(png.begin(), png.begin() + 33);
    synthetic::PutChunk(withBigPalette, "PLTE", Bytes(9, 0));
    withBigPalette.insert(withBigPalette.end(), png.begin() + 33, png.end());
    problems = Problems(BookWithImage(withBigPalette, 20, 10));
    EXPECT_TRUE(Has(problems, "palette: expected 1 to 2 colours of 3 bytes for bit depth 1, found 9 bytes"))
        << problems;

    Bytes odd = MakePng(20, 10, 8, 3, 0, std::string(10 * 21, '\0'), true);
    odd[8 + 8 + 10] = 1; // compression method
    odd[8 + 8 + 11] = 1; // filter method
    uLong crc = crc32(0, odd.data() + 12, 17);
    for (int i = 0; i < 4; ++i)
        odd[29 + i] = uint8_t(crc >> (24 - 8 * i));
    problems = Problems(BookWithImage(odd, 20, 10));
    EXPECT_TRUE(Has(problems, "PNG header: compression method: expected 0, found 1")) << problems;
    EXPECT_TRUE(Has(problems, "PNG header: filter method: expected 0, found 1")) << problems;
    EXPECT_FALSE(Has(problems, "CRC")) << problems;
}

} // namespace
