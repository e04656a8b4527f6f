#include "framework/platform/headless/HeadlessImage.h"

#include <cstring>
#include <png.h>

namespace {

// Larger pictures than this are refused rather than decoded into memory:
// no picture of the program comes near it.
constexpr uint32_t kMaxSide = 16384;

} // namespace

std::unique_ptr<CRkHeadlessImageImp> CRkHeadlessImageImp::Decode(const uint8_t* png, uint32_t size, uint32_t resourceId)
{
    if (!png || size < 8 || png_sig_cmp(png, 0, 8) != 0)
        return nullptr;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png, size))
        return nullptr;
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return std::unique_ptr<CRkHeadlessImageImp>(
        new CRkHeadlessImageImp(int32_t(image.width), int32_t(image.height), resourceId, std::move(pixels)));
}

const uint8_t* CRkHeadlessImageImp::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return nullptr;
    return m_pixels.data() + (size_t(y) * size_t(m_width) + size_t(x)) * 4;
}
