#include "framework/ui/RkControls.h"

#include <algorithm>

CRkButton::CRkButton(CRkContainer* parent, uint32_t id, const CRkString& text)
    : CRkComponent(parent, kKindPushButton, id)
{
    SetText(text);
}

CRkCheckbox::CRkCheckbox(CRkContainer* parent, uint32_t id, const CRkString& text)
    : CRkComponent(parent, kKindCheckbox, id)
{
    SetText(text);
}

bool CRkCheckbox::IsChecked() const
{
    return GetImp() && GetImp()->IsChecked();
}

void CRkCheckbox::SetChecked(bool checked)
{
    if (GetImp())
        GetImp()->SetChecked(checked);
}

void CRkCheckbox::OnActivated()
{
    SendCommand();
    RefreshCommandState();
}

CRkLabel::CRkLabel(CRkContainer* parent, uint32_t id, const CRkString& text) : CRkComponent(parent, kKindLabel, id)
{
    SetText(text);
}

RkSize CRkLabel::GetPreferredSize() const
{
    if (m_wrapWidth <= 0 || !GetImp())
        return CRkComponent::GetPreferredSize();
    return GetImp()->GetNaturalSize(m_wrapWidth);
}

CRkTextField::CRkTextField(CRkContainer* parent, uint32_t id, bool border) : CRkComponent(parent, kKindTextField, id)
{
    SetProperty(kPropBorder, border ? 1 : 0);
    SetText(CRkString());
}

CRkProgressbar::CRkProgressbar(CRkContainer* parent, uint32_t id) : CRkComponent(parent, kKindProgressBar, id)
{
    SetRange(0, 100);
    SetValue(0);
}

void CRkProgressbar::SetRange(int32_t minimum, int32_t maximum)
{
    SetProperty(kPropMinimum, minimum);
    SetProperty(kPropMaximum, std::max(minimum, maximum));
}

void CRkProgressbar::SetValue(int32_t value)
{
    int32_t low = GetProperty(kPropMinimum);
    int32_t high = GetProperty(kPropMaximum);
    SetProperty(kPropValue, std::clamp(value, low, std::max(low, high)));
}

CRkScrollbar::CRkScrollbar(CRkContainer* parent, uint32_t id, bool vertical)
    : CRkComponent(parent, kKindScrollbar, id), m_vertical(vertical)
{
    SetProperty(kPropVertical, vertical ? 1 : 0);
    SetRange(0, 0);
}

void CRkScrollbar::SetRange(int32_t maximum, int32_t page)
{
    SetProperty(kPropMinimum, 0);
    SetProperty(kPropMaximum, std::max(0, maximum));
    SetProperty(kPropPage, std::max(0, page));
    SetValue(GetValue());
}

void CRkScrollbar::SetValue(int32_t value)
{
    int32_t top = std::max(0, GetProperty(kPropMaximum) - GetProperty(kPropPage));
    SetProperty(kPropValue, std::clamp(value, 0, top));
}

int32_t CRkScrollbar::GetThickness() const
{
    RkSize natural = GetImp() ? GetImp()->GetNaturalSize(0) : RkSize{};
    return m_vertical ? natural.width : natural.height;
}

CRkPanel::CRkPanel(CRkContainer* parent, uint32_t id) : CRkContainer(parent, kKindContainerPanel, id)
{
}
