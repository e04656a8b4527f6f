#include "framework/ui/RkWindow.h"

#include "framework/application/RkApplication.h"
#include "framework/application/RkWindowList.h"
#include "framework/core/RkApplicationImp.h"
#include "framework/core/RkGlobalVars.h"
#include "framework/core/RkMessage.h"
#include "framework/core/RkSystemImp.h"
#include "framework/ui/RkMenuBar.h"
#include "framework/ui/RkUiPlatform.h"

namespace {

// A message only the disposal target receives.
constexpr uint16_t kMsgDisposeWindow = 9001;

// Carries a window that is being destroyed through the event loop, so that
// it is deleted only after the messages being handled now are done. When
// the loop ends before it is delivered, deleting the payload deletes the
// window all the same.
class CRkWindowDisposal : public CRkMessage {
public:
    explicit CRkWindowDisposal(CRkWindow* window) : m_window(window) {}
    ~CRkWindowDisposal() override { delete m_window; }

    void Dispose()
    {
        delete m_window;
        m_window = nullptr;
        if (CRkApplication* app = CRkApplication::Get())
            app->HandleMessage(kMsgWindowClosed, nullptr);
    }

private:
    CRkWindow* m_window;
};

class CRkDisposalTarget : public IRkMessageTarget {
public:
    void AddHandler(IRkMessageHandler*, bool) override {}
    void RemoveHandler(IRkMessageHandler*) override {}
    bool HandleMessage(uint16_t message, CRkMessage* payload) override
    {
        CRkWindowDisposal* disposal = dynamic_cast<CRkWindowDisposal*>(payload);
        if (message != kMsgDisposeWindow || !disposal)
            return false;
        disposal->Dispose();
        return true;
    }
    void PostMessage(uint16_t, CRkMessage* payload, uint32_t) override { delete payload; }
};

CRkDisposalTarget gDisposalTarget;

RkRect ScreenRect()
{
    RkRect screen{0, 0, 1024, 768};
    if (CRkGlobalVars* globals = CRkGlobalVars::Get()) {
        if (globals->system)
            globals->system->GetScreenRect(screen.x, screen.y, screen.width, screen.height);
    }
    return screen;
}

} // namespace

bool CRkWindow::StandardHandler::HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget&)
{
    switch (message) {
    case kMsgCommand:
    case kMsgCommandStatus: {
        CRkCommand* command = dynamic_cast<CRkCommand*>(payload);
        if (command && message == kMsgCommand && command->GetFlag() == kCommandFlagShortcut) {
            // A shortcut's command is performed only when it is enabled now.
            command->SetFlag(0);
            CRkCommand status(command->GetCommand());
            m_window.HandleMessage(kMsgCommandStatus, &status);
            if (status.IsEnabled())
                m_window.HandleMessage(kMsgCommand, command);
            return true;
        }
        if (!command || command->GetCommand() != kCmdClose)
            return false;
        if (message == kMsgCommandStatus)
            command->SetEnabled(true);
        else
            m_window.Close();
        return true;
    }
    case kMsgCloseWindow:
        m_window.Destroy();
        return true;
    case kMsgCloseRefused:
        if (CRkApplication* app = CRkApplication::Get()) {
            app->HandleMessage(message, payload);
            return true;
        }
        return false;
    case kMsgCommandsChanged:
        m_window.RefreshCommandState();
        return true;
    default:
        return false;
    }
}

CRkWindow::CRkWindow(const CRkString& title, uint32_t flags, CRkWindow* owner, uint32_t id)
    : CRkContainer(nullptr, kKindWindow, id), m_flags(flags), m_owner(owner)
{
    m_windowImp = GetUiPlatform().CreateWindow(*this, title, flags, owner ? owner->GetWindowImp() : nullptr);
    SetImp(m_windowImp);
    AddHandler(new StandardHandler(*this), true);
    if (CRkApplication* app = CRkApplication::Get()) {
        SetNextTarget(app);
        app->GetWindowList().Add(this);
        if ((flags & kWindowDialog) == 0) {
            if (CRkMenuBar* bar = dynamic_cast<CRkMenuBar*>(app->GetMenuBar()))
                bar->AttachWindow(*this);
        }
    }
}

CRkWindow::~CRkWindow()
{
    if (CRkApplication* app = CRkApplication::Get()) {
        if (CRkMenuBar* bar = dynamic_cast<CRkMenuBar*>(app->GetMenuBar()))
            bar->DetachWindow(*this);
        app->GetWindowList().Remove(this);
    }
}

void CRkWindow::SetTitle(const CRkString& title)
{
    if (m_windowImp)
        m_windowImp->SetTitle(title);
}

void CRkWindow::GetTitle(CRkString& out) const
{
    if (m_windowImp)
        m_windowImp->GetTitle(out);
    else
        out.Empty();
}

void CRkWindow::BringToFront(bool activate)
{
    if (m_windowImp)
        m_windowImp->BringToFront(activate);
}

void CRkWindow::Place(uint32_t mode)
{
    if (mode != kPlaceCentre && mode != kPlaceUpperThird)
        return;
    RkRect reference = m_owner ? m_owner->GetOuterBounds() : ScreenRect();
    RkRect outer = GetOuterBounds();
    int32_t width = outer.width < 5 ? 300 : outer.width;
    int32_t height = outer.height < 5 ? 300 : outer.height;
    int32_t x = reference.x + (reference.width - width) / 2;
    int32_t free = reference.height - height;
    int32_t y = reference.y + (mode == kPlaceCentre ? free / 2 : free / 3);
    if (x < 0 || y < 0 || x > reference.Right() - 20 || y > reference.Bottom() - 20)
        return;
    SetPosition(x, y);
}

void CRkWindow::Close()
{
    HandleMessage(kMsgCloseWindow, nullptr);
}

void CRkWindow::Destroy()
{
    if (m_destroying)
        return;
    m_destroying = true;
    SetVisible(false);
    CRkApplication* app = CRkApplication::Get();
    if (!app || !app->GetImp()) {
        delete this;
        return;
    }
    app->GetWindowList().Remove(this);
    app->ForgetTarget(this);
    app->PostMessageTo(&gDisposalTarget, kMsgDisposeWindow, new CRkWindowDisposal(this), 0);
}

RkRect CRkWindow::GetOuterBounds() const
{
    return m_windowImp ? m_windowImp->GetOuterBounds() : RkRect{};
}

void CRkWindow::SetOuterBounds(const RkRect& outer)
{
    if (!m_windowImp)
        return;
    m_windowImp->SetOuterBounds(
        {outer.x, outer.y, outer.width < 0 ? 0 : outer.width, outer.height < 0 ? 0 : outer.height});
    LayoutChildren();
}

void CRkWindow::SetPosition(int32_t x, int32_t y)
{
    RkRect outer = GetOuterBounds();
    SetOuterBounds({x, y, outer.width, outer.height});
}

void CRkWindow::Pack()
{
    RkSize size = GetPreferredSize();
    SetSize(size.width, size.height);
}

void CRkWindow::StartTimer(uint32_t mode, uint32_t interval, uint16_t id)
{
    CRkApplication* app = CRkApplication::Get();
    if (!app || !app->GetImp() || m_destroying)
        return;
    m_timers.insert(id);
    app->GetImp()->StartTimerFor(this, mode, interval, id);
}

void CRkWindow::StopTimer(uint16_t id)
{
    m_timers.erase(id);
    CRkApplication* app = CRkApplication::Get();
    if (app && app->GetImp())
        app->GetImp()->StopTimerFor(this, id);
}

bool CRkWindow::HandleMessage(uint16_t message, CRkMessage* payload)
{
    if (!payload && m_timers.count(message) && !IsVisible())
        return true;
    return CRkContainer::HandleMessage(message, payload);
}

bool CRkWindow::IsActive() const
{
    return m_windowImp && m_windowImp->IsActive();
}

bool CRkWindow::IsVisible() const
{
    return m_windowImp && m_windowImp->IsVisible();
}

void CRkWindow::SetVisible(bool visible)
{
    if (!m_windowImp || visible == IsVisible())
        return;
    if (visible) {
        RestorePlacement();
        RefreshCommandState();
        m_windowImp->Show(true, ActivatesOnShow());
    } else {
        SavePlacement();
        m_windowImp->Show(false, false);
    }
}

RkSize CRkWindow::GetSize() const
{
    return m_windowImp ? m_windowImp->GetClientSize() : RkSize{};
}

void CRkWindow::SetSize(int32_t width, int32_t height)
{
    if (!m_windowImp)
        return;
    RkSize outer = m_windowImp->OuterSizeForClient({width < 0 ? 0 : width, height < 0 ? 0 : height});
    RkRect bounds = GetOuterBounds();
    SetOuterBounds({bounds.x, bounds.y, outer.width, outer.height});
}

RkPoint CRkWindow::GetLocation() const
{
    RkRect outer = GetOuterBounds();
    return {outer.x, outer.y};
}

void CRkWindow::SetLocation(int32_t x, int32_t y)
{
    SetPosition(x, y);
}

void CRkWindow::SetBounds(int32_t x, int32_t y, int32_t width, int32_t height)
{
    SetOuterBounds({x, y, width, height});
}

RkRect CRkWindow::GetClientArea() const
{
    RkSize size = GetSize();
    return {0, 0, size.width, size.height};
}

void CRkWindow::RefreshCommandState()
{
    for (uint32_t i = 0; i < GetChildCount(); ++i)
        GetChild(i)->RefreshCommandState();
}

void CRkWindow::OnCloseRequest()
{
    HandleMessage(kMsgCloseWindow, nullptr);
}

void CRkWindow::OnMoved(const RkRect&)
{
    LayoutChildren();
}

void CRkWindow::OnWindowActivated(bool active)
{
    if (active)
        RefreshCommandState();
}
