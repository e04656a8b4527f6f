#include "framework/platform/headless/HeadlessNode.h"

#include <algorithm>

#include "framework/platform/headless/HeadlessFont.h"
#include "framework/platform/headless/HeadlessMetrics.h"
#include "framework/ui/RkComponentKinds.h"

namespace {

bool HasRange(uint32_t kind)
{
    return kind == kKindScrollbar || kind == kKindProgressBar || kind == kKindSlider;
}

} // namespace

CRkHeadlessNode::CRkHeadlessNode(IRkComponentHost& host, uint32_t kind, uint32_t id, CRkHeadlessNode* parent)
    : m_host(host), m_kind(kind), m_id(id), m_parent(parent)
{
    if (m_parent)
        m_parent->m_children.push_back(this);
    if (kind == kKindTextField || kind == kKindMultilineTextField)
        m_properties[kPropBorder] = 1;
}

CRkHeadlessNode::~CRkHeadlessNode()
{
    LoseFocusWithin();
    for (CRkHeadlessNode* child : m_children)
        child->m_parent = nullptr;
    if (m_parent)
        std::erase(m_parent->m_children, this);
}

CRkHeadlessNode* CRkHeadlessNode::GetRoot()
{
    CRkHeadlessNode* node = this;
    while (node->m_parent)
        node = node->m_parent;
    return node;
}

bool CRkHeadlessNode::IsWithin(const CRkHeadlessNode* ancestor) const
{
    for (const CRkHeadlessNode* node = this; node; node = node->m_parent)
        if (node == ancestor)
            return true;
    return false;
}

RkRect CRkHeadlessNode::GetBoundsInRoot() const
{
    if (!m_parent)
        return RkRect{0, 0, m_bounds.width, m_bounds.height};
    RkRect bounds = m_bounds;
    for (const CRkHeadlessNode* node = m_parent; node->m_parent; node = node->m_parent) {
        bounds.x += node->m_bounds.x;
        bounds.y += node->m_bounds.y;
    }
    return bounds;
}

void CRkHeadlessNode::SetVisible(bool visible)
{
    m_visible = visible;
    if (!visible)
        LoseFocusWithin();
}

bool CRkHeadlessNode::IsShowing() const
{
    for (const CRkHeadlessNode* node = this; node; node = node->m_parent)
        if (!node->m_visible)
            return false;
    return true;
}

void CRkHeadlessNode::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled)
        LoseFocusWithin();
}

bool CRkHeadlessNode::IsEnabledInTree() const
{
    for (const CRkHeadlessNode* node = this; node; node = node->m_parent)
        if (!node->m_enabled)
            return false;
    return true;
}

void CRkHeadlessNode::SetProperty(uint32_t property, int32_t value)
{
    m_properties[property] = value;
    if (!HasRange(m_kind) || (property != kPropMinimum && property != kPropMaximum && property != kPropValue))
        return;
    int32_t minimum = GetProperty(kPropMinimum);
    int32_t maximum = GetProperty(kPropMaximum);
    if (maximum >= minimum)
        m_properties[kPropValue] = std::clamp(GetProperty(kPropValue), minimum, maximum);
}

int32_t CRkHeadlessNode::GetProperty(uint32_t property) const
{
    auto found = m_properties.find(property);
    return found == m_properties.end() ? 0 : found->second;
}

RkSize CRkHeadlessNode::GetNaturalSize(int32_t wrapWidth) const
{
    return HeadlessNaturalSize(m_kind, m_text, wrapWidth);
}

const IRkFontImp& CRkHeadlessNode::GetFont() const
{
    return HeadlessFont(kFontWindow);
}

void CRkHeadlessNode::SetFocus()
{
    if (!m_visible || !m_enabled)
        return;
    GetRoot()->m_focused = this;
}

bool CRkHeadlessNode::HasFocus() const
{
    return const_cast<CRkHeadlessNode*>(this)->GetRoot()->m_focused == this;
}

void CRkHeadlessNode::LoseFocusWithin()
{
    CRkHeadlessNode* root = GetRoot();
    if (root->m_focused && root->m_focused->IsWithin(this))
        root->m_focused = nullptr;
}

void CRkHeadlessNode::Redraw()
{
    m_dirty = true;
    ++m_redrawRequests;
}

void CRkHeadlessNode::PaintNow()
{
    m_lastPaint.clear();
    m_dirty = false;
    ++m_paintCount;
    PaintSelf(m_lastPaint, 0, 0);
}

bool CRkHeadlessNode::PaintsThroughHost() const
{
    switch (m_kind) {
    case kKindPanel:
    case kKindPanel2:
    case kKindContainerPanel:
    case kKindContainerPanel2:
    case kKindWindow:
        return true;
    default:
        return false;
    }
}

void CRkHeadlessNode::PaintSelf(std::vector<RkDrawOp>& list, int32_t offsetX, int32_t offsetY)
{
    if (PaintsThroughHost()) {
        CRkRecordingContext context(list, m_id, offsetX, offsetY);
        m_host.OnPaint(context);
        return;
    }
    RkDrawOp& op = list.emplace_back();
    op.op = RkDrawOpKind::Control;
    op.rect = RkRect{offsetX, offsetY, m_bounds.width, m_bounds.height};
    op.text = m_text;
    op.kind = m_kind;
    op.componentId = m_id;
}

void CRkHeadlessNode::PaintTree(std::vector<RkDrawOp>& list, int32_t offsetX, int32_t offsetY)
{
    PaintSelf(list, offsetX, offsetY);
    // A painting host may add or remove children: walk a copy, and only the
    // children still there.
    std::vector<CRkHeadlessNode*> children = m_children;
    for (CRkHeadlessNode* child : children) {
        if (std::find(m_children.begin(), m_children.end(), child) == m_children.end() || !child->m_visible)
            continue;
        child->PaintTree(list, offsetX + child->m_bounds.x, offsetY + child->m_bounds.y);
    }
}

uint32_t CRkHeadlessNode::PaintDirty()
{
    if (!m_visible)
        return 0;
    uint32_t painted = 0;
    if (m_dirty) {
        PaintNow();
        ++painted;
    }
    std::vector<CRkHeadlessNode*> children = m_children;
    for (CRkHeadlessNode* child : children)
        if (std::find(m_children.begin(), m_children.end(), child) != m_children.end())
            painted += child->PaintDirty();
    return painted;
}

CRkHeadlessComponentImp::CRkHeadlessComponentImp(IRkComponentHost& host, uint32_t kind, uint32_t id,
                                                 CRkHeadlessNode* parent)
    : TRkHeadlessImp<IRkComponentImp>(host, kind, id, parent)
{
    CRkHeadlessNode::SetBounds(RkRect{0, 0, kCreationSize, kCreationSize});
    if (KindShowsText(kind))
        CRkHeadlessNode::SetText(CRkString(kCreationText));
}
