#include "framework/ui/RkComponent.h"

#include "framework/application/RkApplication.h"
#include "framework/core/RkMessage.h"
#include "framework/ui/RkContainer.h"
#include "framework/ui/RkDrag.h"
#include "framework/ui/RkDragImp.h"
#include "framework/ui/RkGraphicsImp.h"
#include "framework/ui/RkUiPlatform.h"
#include "framework/ui/RkWindow.h"

// Message 9 (command states changed): the component shows its command's
// state again; containers pass it on to their children.
bool CRkComponent::StandardHandler::HandleMessage(uint16_t message, CRkMessage*, IRkMessageTarget&)
{
    if (message != kMsgCommandsChanged)
        return false;
    m_component.RefreshCommandState();
    return true;
}

CRkComponent::CRkComponent(CRkContainer* parent, uint32_t kind, uint32_t id)
    : m_id(id), m_kind(kind), m_parent(parent), m_chain(parent)
{
    if (parent)
        parent->Adopt(this);
    if (kind != kKindWindow && parent && parent->GetImp())
        m_imp.reset(GetUiPlatform().CreateComponent(*this, kind, id, *parent->GetImp()));
    m_chain.AddHandler(new StandardHandler(*this), true);
    // Keys pressed in a control also reach the shortcuts of its window.
    if (parent) {
        if (CRkApplication* app = CRkApplication::Get())
            app->SetContainer(this, parent);
    }
}

CRkComponent::~CRkComponent()
{
    if (CRkApplication* app = CRkApplication::Get())
        app->ForgetTarget(this);
    m_imp.reset();
}

void CRkComponent::SetImp(IRkComponentImp* imp)
{
    m_imp.reset(imp);
}

void CRkComponent::AddHandler(IRkMessageHandler* handler, bool owned)
{
    m_chain.AddHandler(handler, owned);
}

void CRkComponent::RemoveHandler(IRkMessageHandler* handler)
{
    m_chain.RemoveHandler(handler);
}

bool CRkComponent::HandleMessage(uint16_t message, CRkMessage* payload)
{
    return m_chain.HandleMessage(message, payload);
}

void CRkComponent::PostMessage(uint16_t message, CRkMessage* payload, uint32_t flags)
{
    if (CRkApplication* app = CRkApplication::Get())
        app->PostMessageTo(this, message, payload, flags);
    else
        delete payload;
}

bool CRkComponent::IsVisible() const
{
    return m_imp && m_imp->IsVisible();
}

void CRkComponent::SetVisible(bool visible)
{
    if (m_imp)
        m_imp->SetVisible(visible);
}

RkPoint CRkComponent::GetLocation() const
{
    RkRect r = GetBounds();
    return {r.x, r.y};
}

void CRkComponent::SetLocation(int32_t x, int32_t y)
{
    RkSize size = GetSize();
    SetBounds(x, y, size.width, size.height);
}

RkSize CRkComponent::GetSize() const
{
    RkRect r = GetBounds();
    return {r.width, r.height};
}

void CRkComponent::SetSize(int32_t width, int32_t height)
{
    RkPoint at = GetLocation();
    SetBounds(at.x, at.y, width, height);
}

void CRkComponent::SetBounds(int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (m_imp)
        m_imp->SetBounds({x, y, width < 0 ? 0 : width, height < 0 ? 0 : height});
}

RkRect CRkComponent::GetBounds() const
{
    return m_imp ? m_imp->GetBounds() : RkRect{};
}

RkSize CRkComponent::GetMinimumSize() const
{
    return GetPreferredSize();
}

RkSize CRkComponent::GetPreferredSize() const
{
    if (m_preferredOverride.width != kUnbounded || m_preferredOverride.height != kUnbounded) {
        RkSize natural = m_imp ? m_imp->GetNaturalSize(0) : RkSize{};
        return {m_preferredOverride.width != kUnbounded ? m_preferredOverride.width : natural.width,
                m_preferredOverride.height != kUnbounded ? m_preferredOverride.height : natural.height};
    }
    return m_imp ? m_imp->GetNaturalSize(0) : RkSize{};
}

RkSize CRkComponent::GetMaximumSize() const
{
    return {kUnbounded, kUnbounded};
}

void CRkComponent::Draw(IRkGraphicsContextImp&)
{
}

void CRkComponent::Redraw()
{
    if (m_imp)
        m_imp->Redraw();
}

int32_t CRkComponent::ConvertDistance(int32_t units) const
{
    // Truncating toward zero, as C++ division does.
    return units * GetFont().GetAverageCharWidth() / 2;
}

CRkWindow* CRkComponent::GetWindow() const
{
    return m_parent ? m_parent->GetWindow() : nullptr;
}

void CRkComponent::SetDropTarget(bool on)
{
    if (m_imp)
        GetUiPlatform().GetDrag().SetDropTarget(*m_imp, on);
}

bool CRkComponent::IsEnabled() const
{
    return m_imp && m_imp->IsEnabled();
}

void CRkComponent::SetEnabled(bool enabled)
{
    if (m_imp)
        m_imp->SetEnabled(enabled);
}

void CRkComponent::SetText(const CRkString& text)
{
    if (m_imp)
        m_imp->SetText(text);
}

void CRkComponent::GetText(CRkString& out) const
{
    if (m_imp)
        m_imp->GetText(out);
    else
        out.Empty();
}

void CRkComponent::SetProperty(uint32_t property, int32_t value)
{
    if (m_imp)
        m_imp->SetProperty(property, value);
}

int32_t CRkComponent::GetProperty(uint32_t property) const
{
    return m_imp ? m_imp->GetProperty(property) : 0;
}

const IRkFontImp& CRkComponent::GetFont() const
{
    return m_imp ? m_imp->GetFont() : GetUiPlatform().GetFont(kFontWindow);
}

void CRkComponent::RefreshCommandState()
{
    if (m_id == 0 || !m_imp)
        return;
    CRkCommand status(m_id);
    HandleMessage(kMsgCommandStatus, &status);
    m_imp->SetEnabled(status.IsEnabled());
    if (m_kind == kKindCheckbox || m_kind == kKindRadioButton)
        m_imp->SetChecked(status.IsChecked());
}

bool CRkComponent::SendCommand()
{
    return DoCommand(m_id);
}

void CRkComponent::OnDragFeedback(bool)
{
    Redraw();
}

void CRkComponent::OnActivated()
{
    SendCommand();
}

void CRkComponent::OnScrolled(int32_t value)
{
    if (m_imp)
        m_imp->SetProperty(kPropValue, value);
    CRkScrollbarCommand command(m_id, uint32_t(value), 0);
    HandleMessage(kMsgCommandStatus, &command);
    if (command.IsEnabled())
        HandleMessage(kMsgCommand, &command);
}

void CRkComponent::OnMouse(uint32_t value1, uint32_t clicks, int32_t x, int32_t y)
{
    CRkMouseMessage mouse(x, y);
    mouse.value1 = value1;
    mouse.value2 = clicks;
    HandleMessage(kMsgMouse, &mouse);
}

void CRkComponent::OnKey(uint16_t keyCode, uint8_t modifiers, uint32_t value1)
{
    CRkKeyboardMessage key(keyCode, modifiers);
    key.value1 = value1;
    HandleMessage(kMsgKeyDown, &key);
}

void CRkComponent::OnLineScroll(bool down)
{
    HandleMessage(down ? kMsgLineDown : kMsgLineUp, nullptr);
}

void CRkComponent::OnPaint(IRkGraphicsContextImp& context)
{
    Draw(context);
}

void CRkComponent::OnDrag(uint16_t message, CRkDrag& drag)
{
    HandleMessage(message, &drag);
}
