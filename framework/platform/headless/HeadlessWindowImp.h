// A headless window: a record on the headless desktop with its title,
// visibility, outer bounds (there is no frame, so they are the client
// area's too), place in the z-order, activation, owner, flags and menu
// bar. The window is the root of its controls' tree and keeps their focus.
#pragma once

#include <cstdint>

#include "framework/platform/headless/HeadlessNode.h"

class CRkHeadlessMenuBarImp;

class CRkHeadlessWindowImp final : public TRkHeadlessImp<IRkWindowImp> {
public:
    // Hidden, at 0, 0 with no size, and listed on the desktop at the back.
    CRkHeadlessWindowImp(IRkWindowHost& host, const CRkString& title, uint32_t flags, CRkHeadlessWindowImp* owner);
    ~CRkHeadlessWindowImp() override;

    IRkWindowHost& GetWindowHost() const { return m_windowHost; }
    uint32_t GetFlags() const { return m_flags; }
    CRkHeadlessWindowImp* GetOwner() const { return m_owner; }
    void ForgetOwner() { m_owner = nullptr; }
    CRkHeadlessMenuBarImp* GetMenuBar() const { return m_menuBar; }

    // IRkComponentImp: a window's bounds are its outer bounds on the screen,
    // its text is its title, and showing it goes through Show.
    void SetBounds(const RkRect& bounds) override { SetOuterBounds(bounds); }
    RkRect GetBounds() const override { return GetOuterBounds(); }
    void SetVisible(bool visible) override { Show(visible, visible); }
    void SetFocus() override;
    bool HasFocus() const override;

    // IRkWindowImp
    void SetTitle(const CRkString& title) override { CRkHeadlessNode::SetText(title); }
    void GetTitle(CRkString& out) const override { CRkHeadlessNode::GetText(out); }
    void SetOuterBounds(const RkRect& outer) override { CRkHeadlessNode::SetBounds(outer); }
    RkRect GetOuterBounds() const override { return CRkHeadlessNode::GetBounds(); }
    RkRect GetRestoredBounds() const override { return CRkHeadlessNode::GetBounds(); }
    RkSize OuterSizeForClient(const RkSize& client) const override { return client; }
    RkSize GetClientSize() const override;
    void Show(bool visible, bool activate) override;
    void BringToFront(bool activate) override;
    bool IsActive() const override;
    void SetMenuBar(IRkMenuBarImp* menuBar) override;

private:
    IRkWindowHost& m_windowHost;
    uint32_t m_flags;
    CRkHeadlessWindowImp* m_owner;
    CRkHeadlessMenuBarImp* m_menuBar = nullptr;
};
