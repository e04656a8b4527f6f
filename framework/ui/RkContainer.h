// A component that owns children and has them placed by a layout manager.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/ui/RkComponent.h"
#include "framework/ui/RkLayout.h"

class CRkContainer : public CRkComponent {
public:
    CRkContainer(CRkContainer* parent, uint32_t kind, uint32_t id);
    ~CRkContainer() override;

    // Hands `child` (made with `new` and this container as its parent, which
    // owns it from its construction on) to the layout with the constraint
    // (may be null).
    virtual void AddChild(CRkComponent* child, const RkConstraint* constraint);
    // Takes the child out of the layout and deletes it.
    void RemoveChild(CRkComponent* child);
    // Asks the layout to place the children, then lays out child containers.
    virtual void LayoutChildren();

    // The layout (owned; null leaves the children where they are).
    void SetLayout(IRkLayout* layout);
    IRkLayout* GetLayout() const { return m_layout.get(); }

    uint32_t GetChildCount() const { return uint32_t(m_children.size()); }
    CRkComponent* GetChild(uint32_t index) const;
    // Depth first, this container's children before theirs; null if absent.
    CRkComponent* FindById(uint32_t id) const;
    // The visible area children are placed in, in the container's own coordinates.
    virtual RkRect GetClientArea() const;

    RkSize GetMinimumSize() const override;
    RkSize GetPreferredSize() const override;
    RkSize GetMaximumSize() const override;
    void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height) override;
    void RefreshCommandState() override;

private:
    friend class CRkComponent;
    // Called by the child's constructor: the container owns it from then on.
    void Adopt(CRkComponent* child);

    std::unique_ptr<IRkLayout> m_layout;
    std::vector<std::unique_ptr<CRkComponent>> m_children;
};
