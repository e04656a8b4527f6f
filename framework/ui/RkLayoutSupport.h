// Arithmetic shared by the layout managers. Everything is computed in 64
// bits and clamped on the way back to pixels: a width or height is never
// negative, a sum of sizes never wraps, and a maximum that does not fit in
// a signed 32-bit size becomes unbounded.
#pragma once

#include <cstdint>

#include "framework/ui/RkGeometry.h"
#include "framework/ui/RkLayout.h"

class CRkComponent;
class CRkContainer;

// Cell and card alignments.
enum : int32_t {
    kAlignFill = 0,
    kAlignStart = 1,
    kAlignCentre = 2,
    kAlignEnd = 3,
};

// A maximum width or height that is negative (all ones among them) is
// unbounded: read as unsigned it is beyond any real size.
inline bool IsUnboundedSize(int32_t value)
{
    return value < 0;
}

// A width or height: at least 0, at most the largest signed 32-bit value.
int32_t ClampSize(int64_t value);
// A coordinate: within the signed 32-bit range.
int32_t ClampCoordinate(int64_t value);
// A maximum width or height: unbounded past the largest signed 32-bit value.
int32_t SaturateMaximum(int64_t value);
// The total of the gaps between `count` items: none for fewer than two.
int64_t GapsBetween(int32_t gap, int64_t count);

// A component's sizes with negative widths and heights taken as 0.
RkSize PreferredSizeOf(const CRkComponent& component);
RkSize MinimumSizeOf(const CRkComponent& component);

// The container's size and, in pixels, its insets plus the layout's
// margins: the edges of the area children are placed in.
struct RkLayoutFrame {
    int64_t width = 0; // the container's size
    int64_t height = 0;
    int64_t top = 0; // insets + margins on each side
    int64_t left = 0;
    int64_t bottom = 0;
    int64_t right = 0;

    int64_t InnerWidth() const { return width - left - right; }
    int64_t InnerHeight() const { return height - top - bottom; }
    // A content size with the insets and margins around it.
    RkSize Around(int64_t contentWidth, int64_t contentHeight) const;
    // The same for a maximum size: unbounded stays unbounded.
    RkSize AroundMaximum(int64_t contentWidth, int64_t contentHeight, bool unboundedWidth, bool unboundedHeight) const;
};

RkLayoutFrame MeasureFrame(const CRkContainer& container, const RkUnitInsets& margins);

// Places an item of `preferred` extent in the span [start, start + span)
// by a cell alignment: fill takes the span, start, centre and end keep the
// preferred extent. Any other alignment acts as start.
void AlignInSpan(int32_t alignment, int64_t start, int64_t span, int64_t preferred, int64_t& position, int64_t& extent);

// Sets the component's bounds, clamping the position into range and the
// size at 0.
void PlaceComponent(CRkComponent& component, int64_t x, int64_t y, int64_t width, int64_t height);
