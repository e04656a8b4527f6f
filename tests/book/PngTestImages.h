// Small PNG files made with libpng for the image tests, and a decoder that
// reads a stored PNG back.
#pragma once

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestPng {
    uint32_t width = 4;
    uint32_t height = 3;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_PALETTE;
    bool interlaced = false;
    std::vector<png_color> palette;
    bool withTextAndGamma = false;
    // Row-major samples as libpng expects them (packed for depths below 8).
    std::vector<uint8_t> pixels;
};

// The image `png` describes with pixels filled from a simple pattern.
inline TestPng MakeTestPng(int colorType, int bitDepth, uint32_t width, uint32_t height, bool interlaced = false)
{
    TestPng png;
    png.width = width;
    png.height = height;
    png.bitDepth = bitDepth;
    png.colorType = colorType;
    png.interlaced = interlaced;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < (1 << std::min(bitDepth, 8)); ++i)
            png.palette.push_back(
                {static_cast<png_byte>(i * 7), static_cast<png_byte>(255 - i), static_cast<png_byte>(i * 3)});
    }
    int channels = 1;
    if (colorType == PNG_COLOR_TYPE_RGB)
        channels = 3;
    else if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        channels = 2;
    else if (colorType == PNG_COLOR_TYPE_RGB_ALPHA)
        channels = 4;
    const size_t rowBytes = (static_cast<size_t>(width) * channels * bitDepth + 7) / 8;
    png.pixels.resize(rowBytes * height);
    for (size_t i = 0; i < png.pixels.size(); ++i)
        png.pixels[i] = static_cast<uint8_t>((i * 37 + i / rowBytes * 11) & 0xFF);
    // Bits past the last pixel of a row are not image data: keep them 0.
    const size_t rowBits = static_cast<size_t>(width) * channels * bitDepth;
    if (rowBits % 8 != 0) {
        const auto mask = static_cast<uint8_t>(0xFF << (8 - rowBits % 8));
        for (uint32_t y = 0; y < height; ++y)
            png.pixels[y * rowBytes + rowBytes - 1] &= mask;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8) {
        // Keep indexes inside the palette.
        for (uint8_t& p : png.pixels)
            p = static_cast<uint8_t>(p % png.palette.size());
    }
    return png;
}

inline void AppendToString(png_structp png, png_bytep data, size_t length)
{
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

inline void NoFlush(png_structp)
{
}

// Writes the rows of `image` as PNG file bytes into `out`; false on a libpng
// error. Nothing with a destructor lives across the setjmp.
inline bool EncodeTestPngRows(const TestPng& image, png_bytep* rows, std::string& out)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToString, NoFlush);
    png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colorType,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!image.palette.empty())
        png_set_PLTE(png, info, image.palette.data(), static_cast<int>(image.palette.size()));
    png_text text{};
    if (image.withTextAndGamma) {
        png_set_gAMA(png, info, 0.45455);
        text.compression = PNG_TEXT_COMPRESSION_NONE;
        text.key = const_cast<char*>("Comment");
        text.text = const_cast<char*>("made for a test");
        png_set_text(png, info, &text, 1);
    }
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// Encodes `image` into PNG file bytes; empty on a libpng error.
inline std::string EncodeTestPng(const TestPng& image)
{
    std::vector<png_bytep> rows(image.height);
    const size_t rowBytes = image.pixels.size() / image.height;
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = const_cast<png_bytep>(image.pixels.data() + y * rowBytes);
    std::string out;
    if (!EncodeTestPngRows(image, rows.data(), out))
        return {};
    return out;
}

struct DecodedPng {
    bool ok = false;
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 0;
    int colorType = 0;
    int interlace = 0;
    std::vector<png_color> palette;
    std::vector<uint8_t> pixels;
    std::vector<std::string> chunks; // chunk names in file order
};

struct ReadCursor {
    const uint8_t* data;
    size_t length;
    size_t position;
};

inline void ReadFromCursor(png_structp png, png_bytep into, size_t length)
{
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (length > cursor->length - cursor->position)
        png_error(png, "short");
    std::memcpy(into, cursor->data + cursor->position, length);
    cursor->position += length;
}

// The chunk names of PNG bytes, read from the chunk headers.
inline std::vector<std::string> PngChunkNames(const uint8_t* data, size_t length)
{
    std::vector<std::string> names;
    size_t at = 8;
    while (at + 8 <= length) {
        const uint32_t size =
            uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 | data[at + 3];
        names.emplace_back(reinterpret_cast<const char*>(data + at + 4), 4);
        at += 12 + size;
    }
    return names;
}

// Decodes PNG bytes (de-interlacing), keeping the raw samples.
inline DecodedPng DecodeTestPng(const uint8_t* data, size_t length)
{
    DecodedPng result;
    result.chunks = PngChunkNames(data, length);
    ReadCursor cursor{data, length, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        result.ok = false;
        return result;
    }
    png_set_read_fn(png, &cursor, ReadFromCursor);
    png_read_info(png, info);
    png_get_IHDR(png, info, &result.width, &result.height, &result.bitDepth, &result.colorType, &result.interlace,
                 nullptr, nullptr);
    png_colorp palette = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &palette, &count))
        result.palette.assign(palette, palette + count);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    result.pixels.resize(rowBytes * result.height);
    rows.resize(result.height);
    for (uint32_t y = 0; y < result.height; ++y)
        rows[y] = result.pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    result.ok = true;
    return result;
}

inline bool SamePalette(const std::vector<png_color>& a, const std::vector<png_color>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue)
            return false;
    return true;
}
