#include "framework/ui/RkLayoutSupport.h"

#include <algorithm>
#include <limits>

#include "framework/ui/RkContainer.h"

namespace {

constexpr int64_t kLargest = std::numeric_limits<int32_t>::max();
constexpr int64_t kSmallest = std::numeric_limits<int32_t>::min();

RkSize NonNegative(const RkSize& size)
{
    return {std::max(size.width, 0), std::max(size.height, 0)};
}

} // namespace

int32_t ClampSize(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, 0, kLargest));
}

int32_t ClampCoordinate(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, kSmallest, kLargest));
}

int32_t SaturateMaximum(int64_t value)
{
    if (value > kLargest)
        return kUnbounded;
    return ClampSize(value);
}

int64_t GapsBetween(int32_t gap, int64_t count)
{
    return count > 1 ? (count - 1) * int64_t(gap) : 0;
}

RkSize PreferredSizeOf(const CRkComponent& component)
{
    return NonNegative(component.GetPreferredSize());
}

RkSize MinimumSizeOf(const CRkComponent& component)
{
    return NonNegative(component.GetMinimumSize());
}

RkSize RkLayoutFrame::Around(int64_t contentWidth, int64_t contentHeight) const
{
    return {ClampSize(contentWidth + left + right), ClampSize(contentHeight + top + bottom)};
}

RkSize RkLayoutFrame::AroundMaximum(int64_t contentWidth, int64_t contentHeight, bool unboundedWidth,
                                    bool unboundedHeight) const
{
    return {unboundedWidth ? kUnbounded : SaturateMaximum(contentWidth + left + right),
            unboundedHeight ? kUnbounded : SaturateMaximum(contentHeight + top + bottom)};
}

RkLayoutFrame MeasureFrame(const CRkContainer& container, const RkUnitInsets& margins)
{
    RkSize size = container.GetSize();
    RkInsets insets = container.GetInsets();
    RkLayoutFrame frame;
    frame.width = size.width;
    frame.height = size.height;
    frame.top = int64_t(insets.top) + container.ConvertDistance(margins.top);
    frame.left = int64_t(insets.left) + container.ConvertDistance(margins.left);
    frame.bottom = int64_t(insets.bottom) + container.ConvertDistance(margins.bottom);
    frame.right = int64_t(insets.right) + container.ConvertDistance(margins.right);
    return frame;
}

void AlignInSpan(int32_t alignment, int64_t start, int64_t span, int64_t preferred, int64_t& position, int64_t& extent)
{
    switch (alignment) {
    case kAlignFill:
        position = start;
        extent = span;
        break;
    case kAlignCentre:
        position = start + (span - preferred) / 2;
        extent = preferred;
        break;
    case kAlignEnd:
        position = start + span - preferred;
        extent = preferred;
        break;
    default:
        position = start;
        extent = preferred;
        break;
    }
}

void PlaceComponent(CRkComponent& component, int64_t x, int64_t y, int64_t width, int64_t height)
{
    component.SetBounds(ClampCoordinate(x), ClampCoordinate(y), ClampSize(width), ClampSize(height));
}
