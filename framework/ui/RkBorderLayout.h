// Five regions: north and south take the whole width at their preferred
// height, west and east the height between them at their preferred width,
// and the center the rest.
#pragma once

#include <cstdint>

#include "framework/ui/RkLayout.h"

// Region constraints (RkConstraint::first).
enum : int32_t {
    kBorderNorth = 0,
    kBorderSouth = 1,
    kBorderEast = 2,
    kBorderWest = 3,
    kBorderCenter = 4,
};

class CRkBorderLayout : public IRkLayout {
public:
    // Gaps and margins in layout units.
    explicit CRkBorderLayout(int32_t horizontalGap = 2, int32_t verticalGap = 2, const RkUnitInsets& margins = {});

    // Puts the component in the region the constraint names (the center
    // when it is null), replacing what was there; an unknown region is
    // ignored.
    void AddComponent(CRkComponent* component, const RkConstraint* constraint) override;
    // Empties every region that holds the component.
    void RemoveComponent(CRkComponent* component) override;
    void LayoutContainer(CRkContainer& container) override;
    void MinimumLayoutSize(CRkContainer& container, RkSize& out) override;
    void PreferredLayoutSize(CRkContainer& container, RkSize& out) override;
    void MaximumLayoutSize(CRkContainer& container, RkSize& out) override;

    CRkComponent* GetRegion(int32_t region) const;

private:
    static constexpr int32_t kRegionCount = 5;
    enum class Measure { Minimum, Preferred };
    RkSize LayoutSize(const CRkContainer& container, Measure measure) const;

    int32_t m_horizontalGap;
    int32_t m_verticalGap;
    RkUnitInsets m_margins;
    CRkComponent* m_regions[kRegionCount] = {};
};
