// Components in adding order, at their preferred sizes, in rows that wrap
// when the next one no longer fits; each row aligned left, centred or right
// and its components centred vertically in it.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ui/RkLayout.h"

// Row alignments.
enum : int32_t {
    kFlowLeft = 0,
    kFlowCentre = 1,
    kFlowRight = 2,
};

class CRkFlowLayout : public IRkLayout {
public:
    // Gaps and margins in layout units.
    explicit CRkFlowLayout(int32_t horizontalGap = 2, int32_t verticalGap = 2, const RkUnitInsets& margins = {});

    // Any other value acts as left.
    void SetAlignment(int32_t alignment) { m_alignment = alignment; }
    int32_t GetAlignment() const { return m_alignment; }

    // Appends the component; the constraint is not used.
    void AddComponent(CRkComponent* component, const RkConstraint* constraint) override;
    // Unlinks every occurrence of the component.
    void RemoveComponent(CRkComponent* component) override;
    void LayoutContainer(CRkContainer& container) override;
    // The margins and insets only: a flow can always wrap.
    void MinimumLayoutSize(CRkContainer& container, RkSize& out) override;
    // Every component in one row.
    void PreferredLayoutSize(CRkContainer& container, RkSize& out) override;
    void MaximumLayoutSize(CRkContainer& container, RkSize& out) override;

private:
    int32_t m_alignment = kFlowLeft;
    int32_t m_horizontalGap;
    int32_t m_verticalGap;
    RkUnitInsets m_margins;
    std::vector<CRkComponent*> m_components;
};
