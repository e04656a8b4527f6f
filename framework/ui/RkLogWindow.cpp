#include "framework/ui/RkLogWindow.h"

#include "framework/core/Prefs.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkSystemImp.h"
#include "framework/ui/RkComponentImp.h"
#include "framework/ui/RkControls.h"
#include "framework/ui/RkLogList.h"
#include "framework/ui/RkLogManager.h"

namespace {

RkRect ScreenRect()
{
    RkRect screen{0, 0, 1024, 768};
    if (CRkGlobalVars* globals = CRkGlobalVars::Get()) {
        if (globals->system)
            globals->system->GetScreenRect(screen.x, screen.y, screen.width, screen.height);
    }
    return screen;
}

CRkString TitleOrDefault(const CRkString* title)
{
    return title ? *title : CRkString(u"Log Window");
}

} // namespace

CRkLogWindow::CRkLogWindow(const CRkString* title, const CRkString* name, uint32_t flags)
    : CRkWindow(TitleOrDefault(title), kWindowCloseBox | kWindowResizable), m_logFlags(flags)
{
    if (name)
        m_name.Assign(*name);
    m_list = new CRkLogList(this, kLogListId);
    m_horizontal = new CRkScrollbar(this, kLogHorizontalScrollbarId, false);
    m_vertical = new CRkScrollbar(this, kLogVerticalScrollbarId, true);
    m_horizontal->AddHandler(this, false);
    m_vertical->AddHandler(this, false);
    AddHandler(this, false);
    m_list->SetScrollbars(m_horizontal, m_vertical);
    LayoutChildren();
    // The arrow keys move the selection from the start.
    if (m_list->GetImp())
        m_list->GetImp()->SetFocus();
}

CRkLogWindow::~CRkLogWindow()
{
    ForgetLogWindow(this);
}

std::string CRkLogWindow::Key(const char* field) const
{
    std::string key(m_name.GetNarrow(kEncodingDeviceLatin0));
    key += ".WindowPos.";
    key += field;
    return key;
}

void CRkLogWindow::LayoutChildren()
{
    if (!m_list || !m_horizontal || !m_vertical)
        return;
    const RkSize client = GetSize();
    const int32_t t = m_vertical->GetThickness();
    const int32_t width = client.width - t;
    const int32_t height = client.height - t;
    m_list->SetBounds(0, 0, width, height);
    m_vertical->SetBounds(width, 0, t, height);
    m_horizontal->SetBounds(0, height, width, t);
}

void CRkLogWindow::RestorePlacement()
{
    RkRect outer = GetOuterBounds();
    if (!m_shownBefore) {
        outer.width = kLogWindowWidth;
        outer.height = kLogWindowHeight;
    }
    bool placed = false;
    if (!m_name.IsEmpty()) {
        int32_t width = 0, height = 0;
        if (GetInt(Key("width").c_str(), width) && GetInt(Key("height").c_str(), height) &&
            width >= kLogMinSavedWidth && height >= kLogMinSavedHeight) {
            outer.width = width;
            outer.height = height;
        }
        // A position left from a screen that is gone would hide the window.
        int32_t x = 0, y = 0;
        if (GetInt(Key("x").c_str(), x) && GetInt(Key("y").c_str(), y) &&
            RkRect{x, y, outer.width, outer.height}.Intersects(ScreenRect())) {
            outer.x = x;
            outer.y = y;
            placed = true;
        }
    }
    m_shownBefore = true;
    SetOuterBounds(outer);
    if (!placed)
        Place(kPlaceUpperThird);
}

void CRkLogWindow::SavePlacement()
{
    if (m_name.IsEmpty() || !GetWindowImp())
        return;
    // Not the minimized or maximized bounds: the ones the window returns to.
    const RkRect bounds = GetWindowImp()->GetRestoredBounds();
    SetInt(Key("x").c_str(), bounds.x);
    SetInt(Key("y").c_str(), bounds.y);
    SetInt(Key("width").c_str(), bounds.width);
    SetInt(Key("height").c_str(), bounds.height);
}

bool CRkLogWindow::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    switch (message) {
    case kMsgCommand: {
        const CRkCommand* command = dynamic_cast<const CRkCommand*>(payload);
        if (!command)
            return false;
        const RkPoint origin = m_list->GetOrigin();
        if (command->GetCommand() == kLogHorizontalScrollbarId)
            m_list->SetOrigin(m_horizontal->GetValue(), origin.y);
        else if (command->GetCommand() == kLogVerticalScrollbarId)
            m_list->SetOrigin(origin.x, m_vertical->GetValue());
        else
            return false;
        m_list->Redraw();
        return true;
    }
    case kMsgCommandStatus: {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        if (!command)
            return false;
        const uint32_t id = command->GetCommand();
        if (id != kLogListId && id != kLogHorizontalScrollbarId && id != kLogVerticalScrollbarId)
            return false;
        command->SetEnabled(true);
        return true;
    }
    case kMsgCloseWindow:
        ForgetLogWindow(this);
        return false;
    case kMsgKeyDown: {
        // The arrow keys pressed while the list has not the focus are the
        // list's all the same. What the list does not take goes on from it
        // to this window's chain and the application, as from the list
        // itself, so it has been offered everywhere once that returns.
        const CRkKeyboardMessage* key = dynamic_cast<const CRkKeyboardMessage*>(payload);
        if (!key || m_passingKey || (key->keyCode != kKeyUp && key->keyCode != kKeyDown))
            return false;
        m_passingKey = true;
        m_list->HandleMessage(message, payload);
        m_passingKey = false;
        return true;
    }
    default:
        return false;
    }
}
