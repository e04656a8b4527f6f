// A stack of cards, each placed in the whole inner area by its alignments,
// of which one at a time is visible.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ui/RkLayout.h"

class CRkCardLayout : public IRkLayout {
public:
    // Margins in layout units.
    explicit CRkCardLayout(const RkUnitInsets& margins = {});

    // Appends a card with the constraint's horizontal and vertical
    // alignment (fill, fill when null); the first card is shown, every
    // later one hidden.
    void AddComponent(CRkComponent* component, const RkConstraint* constraint) override;
    // Removes every card of the component; the others keep their visibility.
    void RemoveComponent(CRkComponent* component) override;
    // Places every card, shown or not.
    void LayoutContainer(CRkContainer& container) override;
    void MinimumLayoutSize(CRkContainer& container, RkSize& out) override;
    void PreferredLayoutSize(CRkContainer& container, RkSize& out) override;
    // Unbounded in a direction unless a card is bounded in it.
    void MaximumLayoutSize(CRkContainer& container, RkSize& out) override;

    // Shows the card at `index` and hides the others; an index past the
    // end hides them all.
    void ShowCard(uint32_t index);
    // The same by identity; a component that is no card hides them all.
    void ShowCard(const CRkComponent* component);
    uint32_t GetCardCount() const { return uint32_t(m_cards.size()); }

private:
    struct Card {
        CRkComponent* component;
        int32_t horizontal;
        int32_t vertical;
    };

    RkUnitInsets m_margins;
    std::vector<Card> m_cards;
};
