#include "framework/ui/RkProgressDialog.h"

#include <algorithm>

#include "framework/application/RkApplication.h"
#include "framework/core/RkMessage.h"
#include "framework/ui/RkBorderLayout.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkGraphicsImp.h"

namespace {

CRkString ApplicationName()
{
    CRkApplication* app = CRkApplication::Get();
    return app ? app->GetName() : CRkString();
}

} // namespace

CRkProgressDialog::CRkProgressDialog(uint16_t dialogId, const CRkString& text, IRkMessageTarget* target,
                                     CRkWindow* owner)
    : CRkModalDialog(dialogId, 0, target, owner, ApplicationName())
{
    RkUnitInsets margins{5, 5, 5, 5};
    SetLayout(new CRkBorderLayout(5, 5, margins));
    m_label = new CRkLabel(this, kProgressTextId, text);
    m_bar = new CRkProgressbar(this, kProgressBarId);
    RkConstraint north{kBorderNorth, 0};
    RkConstraint center{kBorderCenter, 0};
    AddChild(m_label, &north);
    AddChild(m_bar, &center);
    AddHandler(this, false);
    // Wide enough for 60 average characters, whatever the first text.
    RkSize preferred = GetPreferredSize();
    int32_t width = std::max(preferred.width, GetFont().GetAverageCharWidth() * 60);
    SetSize(width, preferred.height);
}

void CRkProgressDialog::SetText(const CRkString& text)
{
    m_label->SetText(text);
    if (m_label->GetImp())
        m_label->GetImp()->Update();
}

void CRkProgressDialog::SetProgress(int32_t percent)
{
    m_bar->SetValue(std::clamp(percent, 0, 100));
    if (m_bar->GetImp())
        m_bar->GetImp()->Update();
}

int32_t CRkProgressDialog::GetProgress() const
{
    return m_bar->GetValue();
}

bool CRkProgressDialog::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest)
{
    if (message == kMsgCommandStatus) {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        if (command && (command->GetCommand() == kProgressTextId || command->GetCommand() == kProgressBarId)) {
            command->SetEnabled(true);
            return true;
        }
    }
    return rest.HandleMessage(message, payload);
}
