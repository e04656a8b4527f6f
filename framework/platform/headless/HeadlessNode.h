// The record every headless control and window keeps: what a person could
// see of it (kind, id, text, bounds, visible, enabled, checked, properties,
// focus) and what the test driver needs to act on it (its host, its place
// in the tree, its paint requests). Controls and windows both are nodes;
// the test driver walks the tree through this class.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "framework/core/RkString.h"
#include "framework/platform/headless/HeadlessGraphics.h"
#include "framework/ui/RkComponentImp.h"

class CRkHeadlessNode {
public:
    CRkHeadlessNode(IRkComponentHost& host, uint32_t kind, uint32_t id, CRkHeadlessNode* parent);
    CRkHeadlessNode(const CRkHeadlessNode&) = delete;
    CRkHeadlessNode& operator=(const CRkHeadlessNode&) = delete;
    // Leaves the parent; children still alive are left without one.
    virtual ~CRkHeadlessNode();

    IRkComponentHost& GetHost() const { return m_host; }
    uint32_t GetKind() const { return m_kind; }
    uint32_t GetId() const { return m_id; }
    CRkHeadlessNode* GetParentNode() const { return m_parent; }
    // Children in creation order.
    const std::vector<CRkHeadlessNode*>& GetChildren() const { return m_children; }
    // The top of the tree: the window, for a control inside one.
    CRkHeadlessNode* GetRoot();
    bool IsWithin(const CRkHeadlessNode* ancestor) const;

    void SetBounds(const RkRect& bounds) { m_bounds = bounds; }
    RkRect GetBounds() const { return m_bounds; }
    // The bounds in the coordinates of the root's client area.
    RkRect GetBoundsInRoot() const;
    void SetVisible(bool visible);
    bool IsVisible() const { return m_visible; }
    // Visible, and so are all the nodes around it.
    bool IsShowing() const;
    void SetEnabled(bool enabled);
    bool IsEnabled() const { return m_enabled; }
    // Enabled, and so are all the nodes around it.
    bool IsEnabledInTree() const;
    void SetChecked(bool checked) { m_checked = checked; }
    bool IsChecked() const { return m_checked; }
    void SetText(const CRkString& text) { m_text.Assign(text); }
    void GetText(CRkString& out) const { out.Assign(m_text); }
    const CRkString& GetText() const { return m_text; }
    // Values of a scroll bar or progress bar stay within minimum and maximum.
    void SetProperty(uint32_t property, int32_t value);
    int32_t GetProperty(uint32_t property) const;
    const std::map<uint32_t, int32_t>& GetProperties() const { return m_properties; }
    RkSize GetNaturalSize(int32_t wrapWidth) const;
    const IRkFontImp& GetFont() const;

    // Focus: one node of a tree at a time, kept by the root. A hidden or
    // disabled node takes no focus and loses it.
    void SetFocus();
    bool HasFocus() const;
    CRkHeadlessNode* GetFocusedNode() const { return m_focused; }
    void SetFocusedNode(CRkHeadlessNode* node) { m_focused = node; }

    void SetDropTarget(bool on) { m_dropTarget = on; }
    bool IsDropTarget() const { return m_dropTarget; }

    // Painting. Redraw marks the node for painting; PaintNow paints it at
    // once and keeps the list. A panel (kinds 1, 2, 10, 16) or a window paints
    // through its host; a native control shows as one Control operation.
    void Redraw();
    void PaintNow();
    bool IsDirty() const { return m_dirty; }
    uint32_t GetRedrawRequests() const { return m_redrawRequests; }
    uint32_t GetPaintCount() const { return m_paintCount; }
    const std::vector<RkDrawOp>& GetLastPaint() const { return m_lastPaint; }
    // Paints the node alone, in its own coordinates moved by the offset.
    void PaintSelf(std::vector<RkDrawOp>& list, int32_t offsetX, int32_t offsetY);
    // The node and its showing children, in root coordinates when the
    // offset is the node's GetBoundsInRoot position (0, 0 for a root).
    void PaintTree(std::vector<RkDrawOp>& list, int32_t offsetX, int32_t offsetY);
    // Paints every showing node of the tree that asked for it; returns how many.
    uint32_t PaintDirty();
    bool PaintsThroughHost() const;

private:
    void LoseFocusWithin();

    IRkComponentHost& m_host;
    uint32_t m_kind;
    uint32_t m_id;
    CRkHeadlessNode* m_parent;
    std::vector<CRkHeadlessNode*> m_children;
    RkRect m_bounds;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_checked = false;
    CRkString m_text;
    std::map<uint32_t, int32_t> m_properties;
    CRkHeadlessNode* m_focused = nullptr; // kept by roots
    bool m_dropTarget = false;
    bool m_dirty = false;
    uint32_t m_redrawRequests = 0;
    uint32_t m_paintCount = 0;
    std::vector<RkDrawOp> m_lastPaint;
};

// The platform interface on top of the record: every operation is the
// record's. Windows override what differs for them.
template <class Interface>
class TRkHeadlessImp : public Interface, public CRkHeadlessNode {
public:
    using CRkHeadlessNode::CRkHeadlessNode;
    using CRkHeadlessNode::GetText; // the record's text by reference, too

    uint32_t GetKind() const override { return CRkHeadlessNode::GetKind(); }
    void SetBounds(const RkRect& bounds) override { CRkHeadlessNode::SetBounds(bounds); }
    RkRect GetBounds() const override { return CRkHeadlessNode::GetBounds(); }
    void SetVisible(bool visible) override { CRkHeadlessNode::SetVisible(visible); }
    bool IsVisible() const override { return CRkHeadlessNode::IsVisible(); }
    void SetEnabled(bool enabled) override { CRkHeadlessNode::SetEnabled(enabled); }
    bool IsEnabled() const override { return CRkHeadlessNode::IsEnabled(); }
    void SetChecked(bool checked) override { CRkHeadlessNode::SetChecked(checked); }
    bool IsChecked() const override { return CRkHeadlessNode::IsChecked(); }
    void SetText(const CRkString& text) override { CRkHeadlessNode::SetText(text); }
    void GetText(CRkString& out) const override { CRkHeadlessNode::GetText(out); }
    void SetProperty(uint32_t property, int32_t value) override { CRkHeadlessNode::SetProperty(property, value); }
    int32_t GetProperty(uint32_t property) const override { return CRkHeadlessNode::GetProperty(property); }
    RkSize GetNaturalSize(int32_t wrapWidth) const override { return CRkHeadlessNode::GetNaturalSize(wrapWidth); }
    const IRkFontImp& GetFont() const override { return CRkHeadlessNode::GetFont(); }
    void Redraw() override { CRkHeadlessNode::Redraw(); }
    void Update() override { CRkHeadlessNode::PaintNow(); }
    void SetFocus() override { CRkHeadlessNode::SetFocus(); }
    bool HasFocus() const override { return CRkHeadlessNode::HasFocus(); }
};

// A native control or panel inside a window or container panel. Created
// visible at 0, 0 with the creation size, and with the creation text
// where the kind shows a text (buttons, check boxes, labels, text fields).
class CRkHeadlessComponentImp final : public TRkHeadlessImp<IRkComponentImp> {
public:
    CRkHeadlessComponentImp(IRkComponentHost& host, uint32_t kind, uint32_t id, CRkHeadlessNode* parent);
};
