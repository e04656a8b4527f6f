// Test doubles for the layouts: components with fixed sizes that record
// the bounds and visibility they are given, and a container with a chosen
// size, insets, client area and character width.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <vector>

#include "framework/ui/RkComponentKinds.h"
#include "framework/ui/RkContainer.h"

inline void PrintTo(const RkRect& rect, std::ostream* os)
{
    *os << "(" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height << ")";
}

inline void PrintTo(const RkSize& size, std::ostream* os)
{
    *os << size.width << " x " << size.height;
}

namespace layout_test {

class FakeComponent : public CRkComponent {
public:
    // A component of its own, or with a parent that owns it.
    explicit FakeComponent(RkSize preferred, RkSize minimum = {}, RkSize maximum = {kUnbounded, kUnbounded},
                           CRkContainer* parent = nullptr)
        : CRkComponent(parent, kKindWindow, 0), m_preferred(preferred), m_minimum(minimum), m_maximum(maximum)
    {
    }

    RkSize GetMinimumSize() const override { return m_minimum; }
    RkSize GetPreferredSize() const override { return m_preferred; }
    RkSize GetMaximumSize() const override { return m_maximum; }
    void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height) override
    {
        m_bounds = {x, y, width, height};
        ++m_placements;
    }
    bool IsVisible() const override { return m_visible; }
    void SetVisible(bool visible) override { m_visible = visible; }

    RkRect Bounds() const { return m_bounds; }
    int Placements() const { return m_placements; }

private:
    RkSize m_preferred;
    RkSize m_minimum;
    RkSize m_maximum;
    RkRect m_bounds{-1, -1, -1, -1};
    int m_placements = 0;
    bool m_visible = true;
};

class FakeContainer : public CRkContainer {
public:
    // The client area is the whole size unless one is given.
    FakeContainer(RkSize size, int32_t charWidth = 7, RkInsets insets = {})
        : CRkContainer(nullptr, kKindWindow, 0),
          m_size(size),
          m_charWidth(charWidth),
          m_insets(insets),
          m_client{0, 0, size.width, size.height}
    {
    }

    void SetClientArea(const RkRect& client) { m_client = client; }

    int32_t ConvertDistance(int32_t units) const override { return units * m_charWidth / 2; }
    RkInsets GetInsets() const override { return m_insets; }
    RkSize GetSize() const override { return m_size; }
    RkRect GetClientArea() const override { return m_client; }

private:
    RkSize m_size;
    int32_t m_charWidth;
    RkInsets m_insets;
    RkRect m_client;
};

inline std::vector<RkRect> BoundsOf(std::initializer_list<const FakeComponent*> components)
{
    std::vector<RkRect> bounds;
    for (const FakeComponent* component : components)
        bounds.push_back(component->Bounds());
    return bounds;
}

inline std::vector<bool> VisibilityOf(std::initializer_list<const FakeComponent*> components)
{
    std::vector<bool> visible;
    for (const FakeComponent* component : components)
        visible.push_back(component->IsVisible());
    return visible;
}

// The three sizes a layout reports for the container.
struct LayoutSizes {
    RkSize minimum;
    RkSize preferred;
    RkSize maximum;
    bool operator==(const LayoutSizes&) const = default;
};

inline void PrintTo(const LayoutSizes& sizes, std::ostream* os)
{
    *os << "min ";
    ::PrintTo(sizes.minimum, os);
    *os << ", pref ";
    ::PrintTo(sizes.preferred, os);
    *os << ", max ";
    ::PrintTo(sizes.maximum, os);
}

inline LayoutSizes SizesOf(IRkLayout& layout, CRkContainer& container)
{
    LayoutSizes sizes;
    layout.MinimumLayoutSize(container, sizes.minimum);
    layout.PreferredLayoutSize(container, sizes.preferred);
    layout.MaximumLayoutSize(container, sizes.maximum);
    return sizes;
}

inline RkConstraint At(int32_t first, int32_t second = 0)
{
    return {first, second};
}

} // namespace layout_test
