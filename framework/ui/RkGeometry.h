// Points, sizes, rectangles and insets in pixels. Signed, so that layout
// arithmetic can go below zero before it is clamped.
#pragma once

#include <cstdint>

// A width or height of all ones in a maximum size means unbounded.
constexpr int32_t kUnbounded = int32_t(0xFFFFFFFF);

struct RkPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const RkPoint&) const = default;
};

struct RkSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const RkSize&) const = default;
};

struct RkRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const RkRect&) const = default;

    int32_t Right() const { return x + width; }
    int32_t Bottom() const { return y + height; }
    bool Contains(int32_t px, int32_t py) const { return px >= x && py >= y && px < Right() && py < Bottom(); }
    bool Intersects(const RkRect& o) const
    {
        return width > 0 && height > 0 && o.width > 0 && o.height > 0 && x < o.Right() && o.x < Right() &&
               y < o.Bottom() && o.y < Bottom();
    }
};

// Top, left, bottom, right: the order every inset and margin is given in.
struct RkInsets {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
    bool operator==(const RkInsets&) const = default;
};
