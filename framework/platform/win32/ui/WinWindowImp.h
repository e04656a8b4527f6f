// A framework window as a top-level Win32 window: a frame with its title
// and close box (resizable or not), or a dialog owned by its owner in the
// "Zev Framework Dialog" class. Its close box, moves, activation and menus
// reach the host; its size as a container is its client area.
#pragma once

#include <cstdint>
#include <map>

#include "framework/platform/win32/ui/WinNative.h"
#include "framework/ui/RkComponentImp.h"

class CRkWinMenuBarImp;

class CRkWinWindowImp final : public IRkWindowImp, public CRkWinNative {
public:
    // Hidden, at 0, 0 with no size.
    CRkWinWindowImp(IRkWindowHost& host, const CRkString& title, uint32_t flags, HWND owner);
    ~CRkWinWindowImp() override;

    uint32_t GetFlags() const { return m_flags; }
    // The control that gets the focus when the window is next activated (a
    // window that is not active keeps its focus for then).
    void RememberFocus(HWND control) { m_lastFocus = control; }
    HWND GetRememberedFocus() const { return m_lastFocus; }
    // The menu bar imp going away takes itself off the window.
    void ForgetMenuBar(const CRkWinMenuBarImp* menuBar);

    // IRkComponentImp
    uint32_t GetKind() const override;
    void SetBounds(const RkRect& bounds) override { SetOuterBounds(bounds); }
    RkRect GetBounds() const override { return GetOuterBounds(); }
    void SetVisible(bool visible) override { Show(visible, visible); }
    bool IsVisible() const override;
    void SetEnabled(bool enabled) override;
    bool IsEnabled() const override;
    void SetChecked(bool) override {}
    bool IsChecked() const override { return false; }
    void SetText(const CRkString& text) override { SetTitle(text); }
    void GetText(CRkString& out) const override { GetTitle(out); }
    void SetProperty(uint32_t property, int32_t value) override { m_properties[property] = value; }
    int32_t GetProperty(uint32_t property) const override;
    RkSize GetNaturalSize(int32_t) const override { return {0, 0}; }
    const IRkFontImp& GetFont() const override;
    void Redraw() override;
    void Update() override;
    void SetFocus() override;
    bool HasFocus() const override;

    // IRkWindowImp
    void SetTitle(const CRkString& title) override;
    void GetTitle(CRkString& out) const override;
    void SetOuterBounds(const RkRect& outer) override;
    RkRect GetOuterBounds() const override;
    RkRect GetRestoredBounds() const override;
    RkSize OuterSizeForClient(const RkSize& client) const override;
    RkSize GetClientSize() const override;
    void Show(bool visible, bool activate) override;
    void BringToFront(bool activate) override;
    bool IsActive() const override;
    void SetMenuBar(IRkMenuBarImp* menuBar) override;

    // The window classes of frames and dialogs.
    static const wchar_t* const kFrameClass;
    static const wchar_t* const kDialogClass;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    IRkWindowHost* WindowHost() const;
    void ReportMoved();

    IRkWindowHost& m_windowHost;
    uint32_t m_flags;
    CRkWinMenuBarImp* m_menuBar = nullptr;
    std::map<uint32_t, int32_t> m_properties;
    bool m_settingBounds = false; // our own move: the host knows already
    HWND m_lastFocus = nullptr;   // the control to give the focus back to
    bool m_closing = false;       // in the destructor: the host is going
};
