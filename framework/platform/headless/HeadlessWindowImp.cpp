#include "framework/platform/headless/HeadlessWindowImp.h"

#include "framework/platform/headless/HeadlessDesktop.h"
#include "framework/platform/headless/HeadlessMenuBarImp.h"
#include "framework/ui/RkComponentKinds.h"

CRkHeadlessWindowImp::CRkHeadlessWindowImp(IRkWindowHost& host, const CRkString& title, uint32_t flags,
                                           CRkHeadlessWindowImp* owner)
    : TRkHeadlessImp<IRkWindowImp>(host, kKindWindow, 0, nullptr), m_windowHost(host), m_flags(flags), m_owner(owner)
{
    CRkHeadlessNode::SetVisible(false);
    CRkHeadlessNode::SetText(title);
    CRkHeadlessDesktop::Get().AddWindow(this);
}

CRkHeadlessWindowImp::~CRkHeadlessWindowImp()
{
    CRkHeadlessDesktop::Get().RemoveWindow(this);
}

void CRkHeadlessWindowImp::SetFocus()
{
    // Focus on the window itself: no control has it, and the window is active.
    SetFocusedNode(nullptr);
    if (IsVisible())
        CRkHeadlessDesktop::Get().Activate(this);
}

bool CRkHeadlessWindowImp::HasFocus() const
{
    return IsActive() && !GetFocusedNode();
}

RkSize CRkHeadlessWindowImp::GetClientSize() const
{
    RkRect outer = GetOuterBounds();
    return RkSize{outer.width, outer.height};
}

void CRkHeadlessWindowImp::Show(bool visible, bool activate)
{
    CRkHeadlessDesktop& desktop = CRkHeadlessDesktop::Get();
    if (!visible) {
        // A hidden window keeps the control that had the focus, for when it
        // shows again; it is no longer active.
        CRkHeadlessNode* focused = GetFocusedNode();
        CRkHeadlessNode::SetVisible(false);
        SetFocusedNode(focused);
        desktop.ActivateNext(this);
        return;
    }
    CRkHeadlessNode::SetVisible(true);
    desktop.Raise(this);
    if (activate)
        desktop.Activate(this);
}

void CRkHeadlessWindowImp::BringToFront(bool activate)
{
    CRkHeadlessDesktop& desktop = CRkHeadlessDesktop::Get();
    desktop.Raise(this);
    if (activate && IsVisible())
        desktop.Activate(this);
}

bool CRkHeadlessWindowImp::IsActive() const
{
    return CRkHeadlessDesktop::Get().GetActiveWindow() == this;
}

void CRkHeadlessWindowImp::SetMenuBar(IRkMenuBarImp* menuBar)
{
    m_menuBar = dynamic_cast<CRkHeadlessMenuBarImp*>(menuBar);
}
