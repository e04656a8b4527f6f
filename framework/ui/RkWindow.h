// A top-level window: the root of a component tree, listed in the
// application's window list while it lives. Its size, as a container, is
// its client size; the frame around it is reached through the outer bounds.
//
// Closing is deferred: Destroy hides the window, takes it out of the window
// list and the event loop at once, and deletes it once the messages being
// handled are done; then message 28 goes to the application.
#pragma once

#include <cstdint>
#include <set>

#include "framework/application/RkWindowList.h"
#include "framework/core/RkString.h"
#include "framework/ui/RkContainer.h"

class IRkWindowImp;

// Placement modes.
enum : uint32_t {
    kPlaceLeave = 0,      // where the platform put it
    kPlaceCentre = 1,     // centred in the reference rectangle
    kPlaceUpperThird = 2, // centred horizontally, a third of the free height down
};

class CRkWindow : public CRkContainer, public IRkListedWindow, protected IRkWindowHost {
public:
    // Command 13 and message 26 close the window; 29 goes to the owner;
    // 9 refreshes the controls' command states.
    class StandardHandler : public IRkMessageHandler {
    public:
        explicit StandardHandler(CRkWindow& window) : m_window(window) {}
        bool HandleMessage(uint16_t message, CRkMessage* payload, IRkMessageTarget& rest) override;

    private:
        CRkWindow& m_window;
    };

    // `owner` (may be null) is the window a dialog belongs to: it is placed
    // over it and kept above it. Made hidden.
    CRkWindow(const CRkString& title, uint32_t flags, CRkWindow* owner = nullptr, uint32_t id = 0);
    ~CRkWindow() override;

    virtual void SetTitle(const CRkString& title);
    void GetTitle(CRkString& out) const;
    // Raises the window; the log window does it without taking the focus.
    virtual void BringToFront(bool activate = true);
    // See the placement modes; a position that would be negative or within
    // 20 pixels of the reference's right or bottom edge is not taken.
    virtual void Place(uint32_t mode);
    // Sends the close request (message 26) to the window.
    virtual void Close();
    // Hides and deletes the window (deferred, see above). Safe to call from
    // the window's own handlers and more than once.
    void Destroy();
    bool IsDestroying() const { return m_destroying; }

    uint32_t GetFlags() const { return m_flags; }
    CRkWindow* GetOwner() const { return m_owner; }
    CRkWindow* GetWindow() const override { return const_cast<CRkWindow*>(this); }
    IRkWindowImp* GetWindowImp() const { return m_windowImp; }

    // Outer frame bounds on the screen.
    RkRect GetOuterBounds() const;
    void SetOuterBounds(const RkRect& outer);
    void SetPosition(int32_t x, int32_t y);
    // Sets the client size to the layout's preferred size, keeping the position.
    void Pack();
    bool IsActive() const;

    // A timer of the window: it delivers message number `id` to the window,
    // and only while the window is shown; it stops when the window goes.
    void StartTimer(uint32_t mode, uint32_t interval, uint16_t id);
    void StopTimer(uint16_t id);
    // Drops the window's own timer messages while it is hidden.
    bool HandleMessage(uint16_t message, CRkMessage* payload) override;
    // IRkListedWindow
    bool IsShown() const override { return IsVisible(); }

    // CRkComponent
    bool IsVisible() const override;
    void SetVisible(bool visible) override;
    RkSize GetSize() const override;
    void SetSize(int32_t width, int32_t height) override;
    RkPoint GetLocation() const override;
    void SetLocation(int32_t x, int32_t y) override;
    void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height) override;
    RkRect GetClientArea() const override;

    // Asks every control with an id for its command state (message 8) and
    // shows the answers; done on message 9 and whenever the window is shown.
    void RefreshCommandState() override;

protected:
    // Window placement that outlives the program: called when the window is
    // about to be shown (restore) and when a visible window is hidden (save).
    virtual void RestorePlacement() {}
    virtual void SavePlacement() {}
    // Whether showing the window gives it the focus (the log window does not
    // take it from the window the user is working in).
    virtual bool ActivatesOnShow() const { return true; }

    // IRkWindowHost
    void OnCloseRequest() override;
    void OnMoved(const RkRect& outer) override;
    void OnWindowActivated(bool active) override;

private:
    uint32_t m_flags;
    CRkWindow* m_owner;
    IRkWindowImp* m_windowImp; // the base's implementation object
    bool m_destroying = false;
    std::set<uint16_t> m_timers;
};
