// The platform side of components and windows. The framework object
// (the host) creates its implementation through the UI platform and hears
// from it through the host interface; the implementation never outlives
// its host.
#pragma once

#include <cstdint>

#include "framework/ui/RkGeometry.h"

class CRkDrag;
class CRkString;
class IRkFontImp;
class IRkGraphicsContextImp;
class IRkMenuBarImp;
class IRkMessageTarget;

// Framework key codes, the same on every platform (the platform layer maps
// its own codes to them). Printable ASCII stands for itself, letters in
// upper case.
enum : uint16_t {
    kKeyEnter = 3,
    kKeyBackspace = 8,
    kKeyTab = 9,
    kKeyUp = 12,
    kKeyDown = 13,
    kKeyLeft = 14,
    kKeyRight = 15,
    kKeyHome = 16,
    kKeyEnd = 17,
    kKeyPageUp = 18,
    kKeyPageDown = 19,
    kKeyEscape = 27,
    kKeyDelete = 127,
};

// Mouse event values (CRkMouseMessage::value1); value2 is the click count.
enum : uint32_t {
    kMouseDown = 0,
    kMouseUp = 1,
    kMouseMove = 2,
};

// Key event values (CRkKeyboardMessage::value1).
enum : uint32_t {
    kKeyPress = 0,
    kKeyRepeat = 1,
};

// Numbered component properties.
enum : uint32_t {
    kPropMinimum = 1,  // scroll bar, progress bar: range start
    kPropMaximum = 2,  // range end
    kPropValue = 3,    // position in the range
    kPropPage = 4,     // scroll bar: visible part of the range
    kPropVertical = 5, // scroll bar: 1 vertical, 0 horizontal (set before the first use)
    kPropBorder = 6,   // text field: 1 with border (default), 0 without
    kPropDefaultButton = 15,
    kPropCancelButton = 16,
};

class IRkComponentHost {
public:
    virtual ~IRkComponentHost() = default;
    // The framework object: where the platform's key events are delivered
    // (after the shortcut tables) as message 5.
    virtual IRkMessageTarget& GetMessageTarget() = 0;
    // A button or check box was clicked, or a text field's text changed.
    virtual void OnActivated() = 0;
    // A scroll bar moved to a new value.
    virtual void OnScrolled(int32_t value) = 0;
    // Mouse, key and line-scroll events (messages 1, 5 and 2/3); a point is
    // in the component's own coordinates.
    virtual void OnMouse(uint32_t value1, uint32_t clicks, int32_t x, int32_t y) = 0;
    virtual void OnKey(uint16_t keyCode, uint8_t modifiers, uint32_t value1) = 0;
    virtual void OnLineScroll(bool down) = 0;
    virtual void OnPaint(IRkGraphicsContextImp& context) = 0;
    // Drag messages 31 to 34; the drag carries the answer.
    virtual void OnDrag(uint16_t message, CRkDrag& drag) = 0;
};

class IRkComponentImp {
public:
    virtual ~IRkComponentImp() = default;
    virtual uint32_t GetKind() const = 0;
    // Bounds in the parent's client coordinates.
    virtual void SetBounds(const RkRect& bounds) = 0;
    virtual RkRect GetBounds() const = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetChecked(bool checked) = 0;
    virtual bool IsChecked() const = 0;
    virtual void SetText(const CRkString& text) = 0;
    virtual void GetText(CRkString& out) const = 0;
    virtual void SetProperty(uint32_t property, int32_t value) = 0;
    virtual int32_t GetProperty(uint32_t property) const = 0;
    // The size the native control needs for its text in its font, or for
    // a scroll bar its thickness in both directions; 0 x 0 when the control
    // has no natural size. `wrapWidth` > 0 asks a label to wrap its text.
    virtual RkSize GetNaturalSize(int32_t wrapWidth) const = 0;
    virtual const IRkFontImp& GetFont() const = 0;
    // Asks for a repaint (through the host's OnPaint) soon.
    virtual void Redraw() = 0;
    // Paints now, before this returns (for progress shown during long work).
    virtual void Update() = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
};

// Window flags.
enum : uint32_t {
    kWindowCloseBox = 1, // a frame with a title bar and a close box
    kWindowResizable = 2,
    kWindowDialog = 4, // a dialog: owned, no menu bar, dialog keys
};

class IRkWindowHost : public virtual IRkComponentHost {
public:
    // The close box or the system's close request.
    virtual void OnCloseRequest() = 0;
    // The user moved or resized the window (outer bounds).
    virtual void OnMoved(const RkRect& outer) = 0;
    // The window became the active one (or stopped being it).
    virtual void OnWindowActivated(bool active) = 0;
};

class IRkWindowImp : public IRkComponentImp {
public:
    virtual void SetTitle(const CRkString& title) = 0;
    virtual void GetTitle(CRkString& out) const = 0;
    // Outer frame bounds on the screen. The restored bounds are the ones the
    // window has when it is neither minimized nor maximized.
    virtual void SetOuterBounds(const RkRect& outer) = 0;
    virtual RkRect GetOuterBounds() const = 0;
    virtual RkRect GetRestoredBounds() const = 0;
    // The outer size that gives a client area of `client`.
    virtual RkSize OuterSizeForClient(const RkSize& client) const = 0;
    virtual RkSize GetClientSize() const = 0;
    // Shows or hides; `activate` gives the window the focus as it shows.
    virtual void Show(bool visible, bool activate) = 0;
    // Raises the window; without `activate` the focus stays where it is.
    virtual void BringToFront(bool activate) = 0;
    virtual bool IsActive() const = 0;
    // The menu bar shown in this window (not owned; null takes it away).
    virtual void SetMenuBar(IRkMenuBarImp* menuBar) = 0;
};
