// Up to three buttons in a row at the right, all as large as the largest
// preferred size among them: slot 2 rightmost, then 1, then 0. Empty slots
// leave no room.
#pragma once

#include <cstdint>

#include "framework/ui/RkLayout.h"

class CRkDialogButtonLayout : public IRkLayout {
public:
    // Gap and margins in layout units.
    explicit CRkDialogButtonLayout(int32_t gap = 5, const RkUnitInsets& margins = {});

    // Puts the button in the slot the constraint names (slot 0 when null),
    // replacing what was there; a slot other than 0-2 is ignored.
    void AddComponent(CRkComponent* component, const RkConstraint* constraint) override;
    // Empties every slot that holds the button.
    void RemoveComponent(CRkComponent* component) override;
    void LayoutContainer(CRkContainer& container) override;
    // The same as the preferred size.
    void MinimumLayoutSize(CRkContainer& container, RkSize& out) override;
    void PreferredLayoutSize(CRkContainer& container, RkSize& out) override;
    // Unbounded wide, the preferred height high.
    void MaximumLayoutSize(CRkContainer& container, RkSize& out) override;

    CRkComponent* GetButton(int32_t slot) const;

private:
    static constexpr int32_t kSlotCount = 3;
    // The largest preferred width and height among the present buttons,
    // and how many there are.
    RkSize UniformSize(uint32_t& count) const;

    int32_t m_gap;
    RkUnitInsets m_margins;
    CRkComponent* m_buttons[kSlotCount] = {};
};
