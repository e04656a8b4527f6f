#include "framework/ui/RkCustomControl.h"

#include "framework/core/RkColor.h"
#include "framework/ui/RkImage.h"

CRkCustomControl::CRkCustomControl(CRkContainer* parent, uint32_t id) : CRkContainer(parent, kKindPanel, id)
{
}

CRkImagePanel::CRkImagePanel(CRkContainer* parent, CRkImage* image, uint32_t id) : CRkCustomControl(parent, id)
{
    SetImage(image);
}

CRkImagePanel::~CRkImagePanel()
{
    if (m_image)
        m_image->Release();
}

void CRkImagePanel::SetImage(CRkImage* image)
{
    if (image == m_image)
        return;
    if (image)
        image->AddRef();
    if (m_image)
        m_image->Release();
    m_image = image;
    Redraw();
}

void CRkImagePanel::SetPreferredSize(int32_t width, int32_t height)
{
    m_override = {width, height};
}

RkSize CRkImagePanel::GetPreferredSize() const
{
    if (m_override.width != kUnbounded && m_override.height != kUnbounded)
        return m_override;
    if (m_image)
        return {m_image->GetWidth(), m_image->GetHeight()};
    return {64, 64};
}

RkRect CRkImagePanel::ImageRect(const RkSize& panel) const
{
    RkRect whole{0, 0, panel.width, panel.height};
    if (!m_image || !m_keepAspect)
        return whole;
    int64_t w = m_image->GetWidth(), h = m_image->GetHeight();
    if (w <= 0 || h <= 0)
        return whole;
    int64_t W = panel.width, H = panel.height;
    if (W < w * H / h) {
        int32_t height = int32_t(h * W / w);
        return {0, (panel.height - height) / 2, panel.width, height};
    }
    int32_t width = int32_t(w * H / h);
    return {(panel.width - width) / 2, 0, width, panel.height};
}

void CRkImagePanel::Draw(IRkGraphicsContextImp& context)
{
    RkSize size = GetSize();
    RkRect whole{0, 0, size.width, size.height};
    context.Erase(whole);
    if (!m_image) {
        context.FillRect(whole, CRkColor(0, 0, 0));
        return;
    }
    context.DrawImage(m_image->GetImp(), ImageRect(size));
}
