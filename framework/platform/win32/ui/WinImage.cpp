#include "framework/platform/win32/ui/WinImage.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

#include "framework/platform/win32/ui/WinUiShared.h"

// libpng reports errors by calling back into ErrorExit, which jumps to the
// recovery point of ReadInto. Everything the decoding allocates lives in
// the plain Session below, owned by Decode's frame, so the jump skips no
// destructor and every path frees the same way.

namespace {

constexpr size_t kSignatureBytes = 8;

struct Session {
    const uint8_t* bytes;
    size_t length;
    size_t position;
    png_structp reader;
    png_infop info;
    HBITMAP bitmap;
    uint8_t* bits;
    png_bytepp rows;
    int32_t width;
    int32_t height;
    std::jmp_buf recovery;
};

[[noreturn]] void ErrorExit(png_structp png, png_const_charp)
{
    auto* session = static_cast<Session*>(png_get_error_ptr(png));
    std::longjmp(session->recovery, 1);
}

void IgnoreWarning(png_structp, png_const_charp)
{
}

void ReadData(png_structp png, png_bytep data, size_t length)
{
    auto* session = static_cast<Session*>(png_get_io_ptr(png));
    if (length > session->length - session->position)
        png_error(png, "read past the end");
    std::memcpy(data, session->bytes + session->position, length);
    session->position += length;
}

// A top-down 32-bit DIB section of the session's size.
bool CreateBitmap(Session& session)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = session.width;
    info.bmiHeader.biHeight = -session.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    session.bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    session.bits = static_cast<uint8_t*>(bits);
    return session.bitmap && session.bits;
}

// Decodes the whole picture into the bitmap as blue, green, red, alpha;
// false on any failure (the caller frees what the session holds).
bool ReadInto(Session& session)
{
    if (setjmp(session.recovery) != 0)
        return false;
    session.reader = png_create_read_struct(PNG_LIBPNG_VER_STRING, &session, ErrorExit, IgnoreWarning);
    if (!session.reader)
        return false;
    session.info = png_create_info_struct(session.reader);
    if (!session.info)
        return false;
    png_set_read_fn(session.reader, &session, ReadData);
    png_set_user_limits(session.reader, kMaxWinImageSide, kMaxWinImageSide);
    png_read_info(session.reader, session.info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(session.reader, session.info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || width > kMaxWinImageSide || height > kMaxWinImageSide ||
        uint64_t(width) * height > kMaxWinImagePixels)
        return false;

    // Palette, grey below 8 bits and tRNS become 8-bit channels with alpha;
    // 16-bit channels are scaled to 8; grey becomes RGB; a missing alpha
    // channel is filled with opaque; the order is GDI's blue, green, red.
    png_set_expand(session.reader);
    if (bitDepth == 16)
        png_set_scale_16(session.reader);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(session.reader);
    png_set_filler(session.reader, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(session.reader);
    png_set_interlace_handling(session.reader);
    png_read_update_info(session.reader, session.info);
    if (png_get_rowbytes(session.reader, session.info) != size_t(width) * 4)
        return false;

    session.width = int32_t(width);
    session.height = int32_t(height);
    if (!CreateBitmap(session))
        return false;
    session.rows = static_cast<png_bytepp>(std::calloc(height, sizeof(png_bytep)));
    if (!session.rows)
        return false;
    for (png_uint_32 y = 0; y < height; ++y)
        session.rows[y] = session.bits + size_t(y) * width * 4;
    png_read_image(session.reader, session.rows);
    png_read_end(session.reader, nullptr);
    return true;
}

// AlphaBlend wants each colour already multiplied by its alpha. True when
// every pixel is opaque.
bool Premultiply(uint8_t* pixels, size_t count)
{
    bool opaque = true;
    for (size_t i = 0; i < count; ++i, pixels += 4) {
        const unsigned alpha = pixels[3];
        if (alpha == 255)
            continue;
        opaque = false;
        for (int c = 0; c < 3; ++c)
            pixels[c] = uint8_t((pixels[c] * alpha + 127) / 255);
    }
    return opaque;
}

} // namespace

CRkWinImageImp* CRkWinImageImp::Decode(const uint8_t* png, uint32_t size, uint32_t resourceId)
{
    if (!png || size < kSignatureBytes || png_sig_cmp(png, 0, kSignatureBytes) != 0)
        return nullptr;
    Session session{};
    session.bytes = png;
    session.length = size;
    const bool decoded = ReadInto(session);
    if (session.reader)
        png_destroy_read_struct(&session.reader, session.info ? &session.info : nullptr, nullptr);
    std::free(session.rows);
    if (!decoded) {
        if (session.bitmap)
            ::DeleteObject(session.bitmap);
        return nullptr;
    }
    const bool opaque = Premultiply(session.bits, size_t(session.width) * size_t(session.height));
    return new CRkWinImageImp(session.bitmap, session.bits, session.width, session.height, resourceId, opaque);
}

CRkWinImageImp::~CRkWinImageImp()
{
    ::DeleteObject(m_bitmap);
}

const uint8_t* CRkWinImageImp::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return nullptr;
    return m_bits + (size_t(y) * size_t(m_width) + size_t(x)) * 4;
}

IRkImageImp* CreateWinImage(const uint8_t* png, uint32_t size, uint32_t resourceId)
{
    return CRkWinImageImp::Decode(png, size, resourceId);
}
