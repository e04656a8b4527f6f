// A layout manager: places the children of one container. Gaps and margins
// are kept in layout units and converted through the container.
#pragma once

#include <cstdint>

#include "framework/ui/RkGeometry.h"

class CRkComponent;
class CRkContainer;

// A constraint: a layout-specific value (a border region, a button slot)
// or a pair of alignments (grid cells, cards).
struct RkConstraint {
    int32_t first = 0;
    int32_t second = 0;
};

class IRkLayout {
public:
    virtual ~IRkLayout() = default;
    // `constraint` may be null.
    virtual void AddComponent(CRkComponent* component, const RkConstraint* constraint) = 0;
    virtual void RemoveComponent(CRkComponent* component) = 0;
    // Sets the bounds of every child it manages.
    virtual void LayoutContainer(CRkContainer& container) = 0;
    virtual void MinimumLayoutSize(CRkContainer& container, RkSize& out) = 0;
    virtual void PreferredLayoutSize(CRkContainer& container, RkSize& out) = 0;
    virtual void MaximumLayoutSize(CRkContainer& container, RkSize& out) = 0;
};

// Layout units converted to pixels, and margins to pixel insets.
struct RkUnitInsets {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
};
