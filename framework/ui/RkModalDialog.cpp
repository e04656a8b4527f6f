#include "framework/ui/RkModalDialog.h"

#include <vector>

#include "framework/application/RkApplication.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"

namespace {

// The controls Tab moves through: text fields first, then the buttons and
// check boxes, each in creation order.
void CollectFocusable(const CRkContainer& container, uint32_t kind, std::vector<CRkComponent*>& out)
{
    for (uint32_t i = 0; i < container.GetChildCount(); ++i) {
        CRkComponent* child = container.GetChild(i);
        if (!child->IsVisible())
            continue;
        bool button = child->GetKind() == kKindPushButton || child->GetKind() == kKindCheckbox;
        if ((kind == kKindTextField && child->GetKind() == kKindTextField) || (kind != kKindTextField && button)) {
            if (child->IsEnabled())
                out.push_back(child);
        }
        if (const CRkContainer* inner = dynamic_cast<const CRkContainer*>(child))
            CollectFocusable(*inner, kind, out);
    }
}

std::vector<CRkComponent*> FocusOrder(const CRkContainer& dialog)
{
    std::vector<CRkComponent*> order;
    CollectFocusable(dialog, kKindTextField, order);
    CollectFocusable(dialog, kKindPushButton, order);
    return order;
}

} // namespace

bool CRkModalDialog::StandardHandler::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    switch (message) {
    case kMsgCloseWindow: {
        // The close box (or the quit protocol) cancels a dialog that is still
        // open, so that its target always hears of its end.
        if (!m_dialog.IsDismissed())
            m_dialog.Dismiss(kButtonCancel);
        CRkApplication* app = CRkApplication::Get();
        if (app && (app->GetState() == kAppClosingWindows || app->GetState() == kAppQuitting))
            m_dialog.Destroy();
        return true;
    }
    case kMsgKeyDown: {
        CRkKeyboardMessage* key = dynamic_cast<CRkKeyboardMessage*>(payload);
        if (!key || (key->value1 != 0 && key->value1 != 1))
            return false;
        return m_dialog.HandleDialogKey(key->keyCode, key->modifiers);
    }
    default:
        return false;
    }
}

CRkModalDialog::CRkModalDialog(uint16_t dialogId, uint16_t dismissMessage, IRkMessageTarget* target, CRkWindow* owner,
                               const CRkString& title)
    : CRkWindow(title, kWindowDialog | kWindowCloseBox, owner, dialogId),
      m_dialogId(dialogId),
      m_dismissMessage(dismissMessage),
      m_target(target)
{
    if (CRkGlobalVars* globals = CRkGlobalVars::Get())
        ++globals->modalDialogCount;
    AddHandler(new StandardHandler(*this), true);
}

CRkModalDialog::~CRkModalDialog()
{
    CRkGlobalVars* globals = CRkGlobalVars::Get();
    if (globals && globals->modalDialogCount > 0)
        --globals->modalDialogCount;
}

void CRkModalDialog::ShowModal()
{
    LayoutChildren();
    Place(kPlaceCentre);
    SetVisible(true);
    RefreshCommandState();
    std::vector<CRkComponent*> order = FocusOrder(*this);
    if (!order.empty() && order.front()->GetImp())
        order.front()->GetImp()->SetFocus();
}

void CRkModalDialog::Dismiss(uint32_t button)
{
    if (m_dismissed)
        return;
    m_dismissed = true;
    IRkMessageTarget* target = m_target ? m_target : CRkApplication::Get();
    if (target)
        target->PostMessage(m_dismissMessage, new CRkDialogDismissedMessage(button, this), 0);
    SetVisible(false);
}

bool CRkModalDialog::HandleDialogKey(uint16_t keyCode, uint8_t modifiers)
{
    switch (keyCode) {
    case kKeyEnter:
    case kKeyEscape:
        if (CRkComponent* button =
                FindButtonWithProperty(keyCode == kKeyEnter ? kPropDefaultButton : kPropCancelButton)) {
            // As the command, so that a disabled button does nothing.
            button->SendCommand();
            return true;
        }
        return false;
    case kKeyTab:
        MoveFocus((modifiers & kKeyModifierShift) != 0);
        return true;
    default:
        return false;
    }
}

CRkComponent* CRkModalDialog::FindButtonWithProperty(uint32_t property) const
{
    std::vector<const CRkContainer*> pending{this};
    while (!pending.empty()) {
        const CRkContainer* container = pending.back();
        pending.pop_back();
        for (uint32_t i = 0; i < container->GetChildCount(); ++i) {
            CRkComponent* child = container->GetChild(i);
            if (child->GetKind() == kKindPushButton && child->GetProperty(property) != 0)
                return child;
            if (const CRkContainer* inner = dynamic_cast<const CRkContainer*>(child))
                pending.push_back(inner);
        }
    }
    return nullptr;
}

void CRkModalDialog::MoveFocus(bool backward)
{
    std::vector<CRkComponent*> order = FocusOrder(*this);
    if (order.empty())
        return;
    size_t current = order.size();
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i]->GetImp() && order[i]->GetImp()->HasFocus())
            current = i;
    size_t next;
    if (current == order.size())
        next = backward ? order.size() - 1 : 0;
    else
        next = backward ? (current + order.size() - 1) % order.size() : (current + 1) % order.size();
    order[next]->GetImp()->SetFocus();
}
