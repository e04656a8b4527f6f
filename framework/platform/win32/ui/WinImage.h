// A decoded PNG as a top-down 32-bit DIB section with premultiplied alpha,
// ready for AlphaBlend.
#pragma once

#include <cstdint>

#include "framework/platform/win32/Win32Api.h"
#include "framework/ui/RkGraphicsImp.h"

// Pictures wider or higher than this, or of more pixels than
// kMaxWinImagePixels (a 64 MiB bitmap), are refused.
constexpr uint32_t kMaxWinImageSide = 16384;
constexpr uint32_t kMaxWinImagePixels = 16u * 1024u * 1024u;

class CRkWinImageImp final : public IRkImageImp {
public:
    // Null when the bytes are not a PNG that libpng can read, or the
    // picture is larger than the limits above.
    static CRkWinImageImp* Decode(const uint8_t* png, uint32_t size, uint32_t resourceId);
    ~CRkWinImageImp() override;
    CRkWinImageImp(const CRkWinImageImp&) = delete;
    CRkWinImageImp& operator=(const CRkWinImageImp&) = delete;

    HBITMAP GetBitmap() const { return m_bitmap; }
    // Blue, green, red, alpha (premultiplied) of the pixel at x, y; null
    // outside the picture.
    const uint8_t* GetPixel(int32_t x, int32_t y) const;
    // Every pixel fully opaque: the picture can be copied without blending.
    bool IsOpaque() const { return m_opaque; }

    // IRkImageImp
    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    uint32_t GetResourceId() const override { return m_resourceId; }

private:
    CRkWinImageImp(HBITMAP bitmap, uint8_t* bits, int32_t width, int32_t height, uint32_t resourceId, bool opaque)
        : m_bitmap(bitmap), m_bits(bits), m_width(width), m_height(height), m_resourceId(resourceId), m_opaque(opaque)
    {
    }

    HBITMAP m_bitmap;
    uint8_t* m_bits;
    int32_t m_width;
    int32_t m_height;
    uint32_t m_resourceId;
    bool m_opaque;
};
