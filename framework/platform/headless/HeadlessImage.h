// A decoded PNG image: its real size and its pixels (8-bit RGBA, rows top
// to bottom), so that tests can check what a picture holds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/ui/RkGraphicsImp.h"

class CRkHeadlessImageImp : public IRkImageImp {
public:
    // Null when the bytes are not a PNG that libpng can read.
    static std::unique_ptr<CRkHeadlessImageImp> Decode(const uint8_t* png, uint32_t size, uint32_t resourceId);

    // IRkImageImp
    int32_t GetWidth() const override { return m_width; }
    int32_t GetHeight() const override { return m_height; }
    uint32_t GetResourceId() const override { return m_resourceId; }

    // Red, green, blue and alpha of the pixel at x, y.
    const uint8_t* GetPixel(int32_t x, int32_t y) const;

private:
    CRkHeadlessImageImp(int32_t width, int32_t height, uint32_t resourceId, std::vector<uint8_t> pixels)
        : m_width(width), m_height(height), m_resourceId(resourceId), m_pixels(std::move(pixels))
    {
    }

    int32_t m_width;
    int32_t m_height;
    uint32_t m_resourceId;
    std::vector<uint8_t> m_pixels;
};
